// A SysEx message as the MIDI input callback receives it. Whatever the bytes, a message is
// either recognised exactly (the bytes are the message rebuilt from its meaning) or ignored,
// and the update-only edition's receiver reacts to nothing but the version reply.
#include "FuzzCheck.h"
#include "IncomingMessage.h"
#include "SysExMessages.h"
#include "SysExReceiver.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

struct Heard
{
    int versions = 0;
    int starts = 0;
    int ends = 0;
    QString version;
};

Heard deliver(SysExReceiver& receiver, std::vector<unsigned char> message)
{
    Heard heard;
    // Direct connections: the signals are heard before midiCallback returns.
    const auto a = QObject::connect(&receiver, &SysExReceiver::versionReceived, [&](const QString& v) {
        ++heard.versions;
        heard.version = v;
    });
    const auto b = QObject::connect(&receiver, &SysExReceiver::transferStartReceived,
                                    [&] { ++heard.starts; });
    const auto c = QObject::connect(&receiver, &SysExReceiver::transferEndReceived,
                                    [&] { ++heard.ends; });
    receiver.clearAcknowledgment();
    SysExReceiver::midiCallback(0.0, &message, &receiver);
    QObject::disconnect(a);
    QObject::disconnect(b);
    QObject::disconnect(c);
    return heard;
}

std::vector<unsigned char> versionReply(const QString& version)
{
    std::vector<unsigned char> bytes = SysEx::MIDI_SYSEX_VERSION_REPLY_PREFIX;
    for (const QChar ch : version) {
        FUZZ_CHECK(ch.unicode() <= 0xFF); // Latin-1, one byte per character
        bytes.push_back(static_cast<unsigned char>(ch.unicode()));
    }
    bytes.push_back(SysEx::SYSEX_END);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<unsigned char> bytes(data, data + size);
    static SysExReceiver full(true);
    static SysExReceiver updater(false);

    const IncomingMessage in = IncomingMessage::parse(bytes);
    switch (in.kind) {
    case IncomingMessage::Kind::Version:
        FUZZ_CHECK(bytes.size() >= SysEx::VERSION_REPLY_MIN_LENGTH);
        FUZZ_CHECK(versionReply(in.version) == bytes);
        break;
    case IncomingMessage::Kind::TransferStart:
        FUZZ_CHECK(bytes == SysEx::MIDI_SYSEX_TRANSFER_START);
        break;
    case IncomingMessage::Kind::TransferEnd:
        FUZZ_CHECK(bytes == SysEx::MIDI_SYSEX_TRANSFER_END);
        break;
    case IncomingMessage::Kind::Other:
        FUZZ_CHECK(in.version.isNull());
        FUZZ_CHECK(bytes != SysEx::MIDI_SYSEX_TRANSFER_START);
        FUZZ_CHECK(bytes != SysEx::MIDI_SYSEX_TRANSFER_END);
        // Any message shaped like a version reply is one.
        FUZZ_CHECK(!(bytes.size() >= SysEx::VERSION_REPLY_MIN_LENGTH && bytes[0] == 0xF0
                     && bytes[1] == SysEx::VERSION_REPLY_ID && bytes[2] == SysEx::VERSION_REPLY_FIXED
                     && bytes.back() == SysEx::SYSEX_END));
        break;
    }

    const bool isVersion = in.kind == IncomingMessage::Kind::Version;
    const bool isStart = in.kind == IncomingMessage::Kind::TransferStart;
    const bool isEnd = in.kind == IncomingMessage::Kind::TransferEnd;

    const Heard f = deliver(full, bytes);
    FUZZ_CHECK(f.versions == (isVersion ? 1 : 0));
    FUZZ_CHECK(f.starts == (isStart ? 1 : 0));
    FUZZ_CHECK(f.ends == (isEnd ? 1 : 0));
    FUZZ_CHECK(!isVersion || f.version == in.version);
    FUZZ_CHECK(full.acknowledgmentSeen() == (isStart || isEnd));

    const Heard u = deliver(updater, bytes);
    FUZZ_CHECK(u.versions == (isVersion ? 1 : 0));
    FUZZ_CHECK(u.starts == 0 && u.ends == 0);
    FUZZ_CHECK(!updater.acknowledgmentSeen());

    // The callback survives a missing message or receiver.
    SysExReceiver::midiCallback(0.0, nullptr, &full);
    std::vector<unsigned char> copy = bytes;
    SysExReceiver::midiCallback(0.0, &copy, nullptr);
    return 0;
}
