#include "StorageLog.h"

Q_LOGGING_CATEGORY(lcStorage, "tavlo.storage", QtWarningMsg)
