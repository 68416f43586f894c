#pragma once

#include <cstddef>
#include <vector>

// The instrument's SysEx messages, each from the leading 0xF0 to the trailing 0xF7.
namespace SysEx {

using Message = std::vector<unsigned char>;

// Program to instrument: asks for the firmware version.
inline const Message MIDI_SYSEX_VERSION_REQUEST{0xF0, 0x00, 0x03, 0x01, 0x02, 0x01, 0xF7};

// Instrument to program: F0 7D 01, the version text one byte per character, F7. A reply is
// longer than 8 bytes, so the text has at least five characters.
constexpr unsigned char VERSION_REPLY_ID = 0x7D;
constexpr unsigned char VERSION_REPLY_FIXED = 0x01;
inline const Message MIDI_SYSEX_VERSION_REPLY_PREFIX{0xF0, VERSION_REPLY_ID, VERSION_REPLY_FIXED};
constexpr unsigned char SYSEX_END = 0xF7;
constexpr std::size_t VERSION_REPLY_MIN_LENGTH = 9;

// Program to instrument: enter the mode that takes the update file; the update file is in place.
inline const Message MIDI_SYSEX_UPDATE_MODE{0xF0, 0x00, 0x01, 0x03, 0x01, 0x01, 0xF7};
inline const Message MIDI_SYSEX_UPDATE_FINISH{0xF0, 0x00, 0x01, 0x03, 0x01, 0x02, 0xF7};

// Both ways: enter and leave transfer mode. The instrument acknowledges each with the same
// six bytes; byte 4 tells the two apart.
inline const Message MIDI_SYSEX_TRANSFER_START{0xF0, 0x7E, 0x7F, 0x09, 0x03, 0xF7};
inline const Message MIDI_SYSEX_TRANSFER_END{0xF0, 0x7E, 0x7F, 0x09, 0x04, 0xF7};
constexpr std::size_t TRANSFER_MESSAGE_LENGTH = 6;
constexpr std::size_t TRANSFER_COMMAND_OFFSET = 4;
constexpr unsigned char TRANSFER_COMMAND_START = 0x03;
constexpr unsigned char TRANSFER_COMMAND_END = 0x04;

} // namespace SysEx
