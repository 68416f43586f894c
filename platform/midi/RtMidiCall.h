#pragma once

#include <RtMidi.h>

#include <optional>
#include <utility>

// Runs one call into the MIDI library and turns an RtMidiError into a result: the adapters'
// one place where the library's exceptions stop. The library reports warnings without
// throwing; those count as success.
namespace RtMidiCall {

template<typename F>
bool succeeded(F&& call)
{
    try {
        std::forward<F>(call)();
        return true;
    } catch (const RtMidiError&) {
        return false;
    }
}

template<typename F>
auto valueOf(F&& call) -> std::optional<decltype(std::forward<F>(call)())>
{
    try {
        return std::forward<F>(call)();
    } catch (const RtMidiError&) {
        return std::nullopt;
    }
}

} // namespace RtMidiCall
