#include "StandInMainController.h"
