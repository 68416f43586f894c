#pragma once

#include <RtMidi.h>

#include <optional>
#include <string>
#include <utility>

// Runs one call into the MIDI library and turns its failure into a result: the adapters' one
// place where the library's errors stop. Each library object reports its errors to
// onError (its error callback, set as soon as it exists), which logs them into the session
// log and notes the last one in the object's Errors. With a callback set the library no
// longer throws (it reports and returns), so a call failed when it noted an error; an
// RtMidiError that is thrown anyway (a constructor's, before a callback can be set) is caught
// here as well. Warnings count as success.
namespace RtMidiCall {

struct Errors
{
    bool failed = false;
    std::string message; // the library's words for the last error
};

// The library's error callback; userData is the object's Errors.
void onError(RtMidiError::Type type, const std::string& errorText, void* userData);

template<typename F>
bool succeeded(Errors& errors, F&& call)
{
    errors.failed = false;
    try {
        std::forward<F>(call)();
    } catch (const RtMidiError& error) {
        errors.failed = true;
        errors.message = error.getMessage();
    }
    return !errors.failed;
}

template<typename F>
auto valueOf(Errors& errors, F&& call) -> std::optional<decltype(std::forward<F>(call)())>
{
    errors.failed = false;
    try {
        auto value = std::forward<F>(call)();
        if (!errors.failed)
            return value;
    } catch (const RtMidiError& error) {
        errors.failed = true;
        errors.message = error.getMessage();
    }
    return std::nullopt;
}

} // namespace RtMidiCall
