#pragma once

#include <QLoggingCategory>

// The logging category "tavlo.history" of the history file (what could not be written or
// read). Every line of it goes into the session log (SessionLog).
Q_DECLARE_LOGGING_CATEGORY(lcHistory)
