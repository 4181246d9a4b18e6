// The values of a bug report that describe the process and the machine: the application's start,
// parameters and build, the exception's module version, the user, the computer, the operating
// system and the network.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <windows.h>

struct TSystemFieldsContext {
    SYSTEMTIME ExceptionTime{};             // local time of the exception
    const void* ExceptionAddress = nullptr; // null when there is none
    uint64_t ReportFields = ~0ull;          // groups with no field written are left out
};

// Fills the keys 1.1 Start Date, 1.4 Parameters, 1.5 Compilation Date, 1.6 Up Time,
// 2.4 Module Version, 3.1 ID, 3.2 Name, 3.4 Company, 3.5 Privileges, 5.1 to 5.11, 6.1 to 6.5 and
// 7.1 to 7.6, for the groups that have a field in ReportFields. A value the system does not
// give is empty or its fallback text.
void AddSystemFields(std::map<std::string, std::string>& fields,
                     const TSystemFieldsContext& context);
