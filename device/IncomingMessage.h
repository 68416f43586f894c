#pragma once

#include <QString>

#include <vector>

// What one message from the instrument says. Pure: bytes in, meaning out.
struct IncomingMessage
{
    enum class Kind {
        Other,         // nothing the program reacts to
        Version,       // the firmware version, in version
        TransferStart, // the transfer start acknowledgment
        TransferEnd,   // the transfer end acknowledgment
    };

    Kind kind = Kind::Other;
    QString version; // the version text, byte for byte as Latin-1

    static IncomingMessage parse(const std::vector<unsigned char>& bytes);
};
