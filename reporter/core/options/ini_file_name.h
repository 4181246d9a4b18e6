// Where the crash reporter keeps the state of its user interface.
#pragma once
#include <string>

constexpr const char* kDefaultIniFileName = "Vessarion.ini";

// `name` with its variables expanded; a name without folder goes into the crash reporter's own
// folder. When the file cannot be written there it moves to that folder, created when missing.
std::string IniFileName(const std::string& name = kDefaultIniFileName);
