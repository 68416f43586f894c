#pragma once

#include <QLoggingCategory>

// The logging category "tavlo.storage" of the storage (volumes seen, the hand-over, the eject).
// Every line of it goes into the session log (SessionLog).
Q_DECLARE_LOGGING_CATEGORY(lcStorage)
