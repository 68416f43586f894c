#include "WinMmPortCheck.h"

#include <windows.h>
#include <mmsystem.h>

unsigned int WinMmPortCheck::inputOpenResult(unsigned int deviceId)
{
    HMIDIIN handle = nullptr;
    const MMRESULT result = midiInOpen(&handle, deviceId, 0, 0, CALLBACK_NULL);
    if (result == MMSYSERR_NOERROR && handle)
        midiInClose(handle);
    return static_cast<unsigned int>(result);
}

unsigned int WinMmPortCheck::outputOpenResult(unsigned int deviceId)
{
    HMIDIOUT handle = nullptr;
    const MMRESULT result = midiOutOpen(&handle, deviceId, 0, 0, CALLBACK_NULL);
    if (result == MMSYSERR_NOERROR && handle)
        midiOutClose(handle);
    return static_cast<unsigned int>(result);
}
