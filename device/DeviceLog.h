#pragma once

#include "MidiProblem.h"

#include <QLoggingCategory>
#include <QString>

#include <vector>

// The logging category "tavlo.device" of the device link (ports, SysEx sent and received).
// Every line of it goes into the session log (SessionLog).
Q_DECLARE_LOGGING_CATEGORY(lcDevice)

namespace DeviceLog {

// The bytes as upper-case hex pairs separated by blanks: "F0 7D 01 F7". Pure.
QString hex(const std::vector<unsigned char>& bytes);
// The kind's name for the log ("service missing", "port in use"...). Pure.
const char* problemKindName(MidiProblem::Kind kind);

} // namespace DeviceLog
