#include "reporter/diagnostics/lists/process_priority.h"

std::string PriorityName(DWORD priorityClass) {
    switch (priorityClass) {
    case NORMAL_PRIORITY_CLASS:
        return "Normal";
    case IDLE_PRIORITY_CLASS:
        return "Low";
    case HIGH_PRIORITY_CLASS:
        return "High";
    case REALTIME_PRIORITY_CLASS:
        return "Real-Time";
    case BELOW_NORMAL_PRIORITY_CLASS:
        return "Below-Normal";
    case ABOVE_NORMAL_PRIORITY_CLASS:
        return "Above-Normal";
    default:
        return {};
    }
}

DWORD PriorityClassOfBase(LONG basePriority) {
    if (basePriority == 0)
        return 0;
    if (basePriority < 6)
        return IDLE_PRIORITY_CLASS;
    if (basePriority < 8)
        return BELOW_NORMAL_PRIORITY_CLASS;
    if (basePriority < 10)
        return NORMAL_PRIORITY_CLASS;
    if (basePriority < 13)
        return ABOVE_NORMAL_PRIORITY_CLASS;
    if (basePriority > 23)
        return REALTIME_PRIORITY_CLASS;
    return HIGH_PRIORITY_CLASS;
}
