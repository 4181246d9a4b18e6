// Process priority classes as the lists show them.
#pragma once
#include <string>
#include <windows.h>

// "Normal", "Low", "High", "Real-Time", "Below-Normal" or "Above-Normal"; empty for any other
// value.
std::string PriorityName(DWORD priorityClass);

// The priority class of a process whose threads start at `basePriority` (a snapshot gives
// only that); 0 for 0.
DWORD PriorityClassOfBase(LONG basePriority);
