#include "IncomingMessage.h"

#include "SysExMessages.h"

IncomingMessage IncomingMessage::parse(const std::vector<unsigned char>& bytes)
{
    IncomingMessage result;
    if (bytes.empty() || bytes[0] != 0xF0)
        return result;

    if (bytes.size() >= SysEx::VERSION_REPLY_MIN_LENGTH) {
        if (bytes[1] == SysEx::VERSION_REPLY_ID && bytes[2] == SysEx::VERSION_REPLY_FIXED
            && bytes.back() == SysEx::SYSEX_END) {
            result.kind = Kind::Version;
            result.version = QString::fromLatin1(reinterpret_cast<const char*>(bytes.data() + 3),
                                                 static_cast<qsizetype>(bytes.size() - 4));
        }
        return result;
    }

    if (bytes == SysEx::MIDI_SYSEX_TRANSFER_START)
        result.kind = Kind::TransferStart;
    else if (bytes == SysEx::MIDI_SYSEX_TRANSFER_END)
        result.kind = Kind::TransferEnd;
    return result;
}
