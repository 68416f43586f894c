#include "WiringLog.h"

Q_LOGGING_CATEGORY(lcWiring, "tavlo.wiring", QtWarningMsg)
