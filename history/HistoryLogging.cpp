#include "HistoryLogging.h"

Q_LOGGING_CATEGORY(lcHistory, "tavlo.history", QtWarningMsg)
