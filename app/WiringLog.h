#pragma once

#include <QLoggingCategory>

// The logging category "tavlo.wiring" of the wirings and the program frame.
// Every line of it goes into the session log (SessionLog).
Q_DECLARE_LOGGING_CATEGORY(lcWiring)
