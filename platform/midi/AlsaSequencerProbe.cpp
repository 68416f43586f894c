#include "AlsaSequencerProbe.h"

#include "MidiLibraryLog.h"
#include "SequencerOpenProblem.h"

#include <alsa/asoundlib.h>

#include <cstdarg>
#include <cstdio>

namespace {

void logAlsaMessage(const char* file, int line, const char* function, int error,
                    const char* format, ...)
{
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    qCInfo(lcMidiLibrary, "ALSA %s:%d:(%s) %s%s%s", file ? file : "?", line,
           function ? function : "?", text, error ? ": " : "", error ? snd_strerror(error) : "");
}

} // namespace

void AlsaSequencerProbe::routeLibraryMessages()
{
    // Setting the same handler again is harmless; the library keeps one for the process.
    snd_lib_error_set_handler(&logAlsaMessage);
}

MidiProblem AlsaSequencerProbe::probe()
{
    routeLibraryMessages();
    snd_seq_t* sequencer = nullptr;
    const int result = snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK);
    if (result < 0)
        return SequencerOpenProblem::fromErrno(-result);
    snd_seq_close(sequencer);
    return {};
}
