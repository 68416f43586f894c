#include "DiagnosisTimings.h"

DiagnosisTimings DiagnosisTimings::production()
{
    return {8000, 15000, 5000};
}
