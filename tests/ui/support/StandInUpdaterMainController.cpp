#include "StandInUpdaterMainController.h"
