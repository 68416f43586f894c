#include "DeviceLog.h"

Q_LOGGING_CATEGORY(lcDevice, "tavlo.device", QtWarningMsg)

namespace DeviceLog {

QString hex(const std::vector<unsigned char>& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    QString text;
    text.reserve(int(bytes.size()) * 3);
    for (unsigned char byte : bytes) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += QLatin1Char(digits[byte >> 4]);
        text += QLatin1Char(digits[byte & 0x0F]);
    }
    return text;
}

} // namespace DeviceLog

const char* DeviceLog::problemKindName(MidiProblem::Kind kind)
{
    switch (kind) {
    case MidiProblem::Kind::None:
        return "none";
    case MidiProblem::Kind::ServiceMissing:
        return "service missing";
    case MidiProblem::Kind::PermissionDenied:
        return "permission denied";
    case MidiProblem::Kind::PortInUse:
        return "port in use";
    case MidiProblem::Kind::LibraryError:
        break;
    }
    return "library error";
}
