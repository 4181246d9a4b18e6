// Whether this process is the development environment (its main executable DELPHI32.EXE): a
// design-time library that carries the crash reporter runs inside it, and the environment's own
// exceptions are not the crash reporter's to hook or report.
#pragma once
#include <string>

// Decided once, from the main executable's file name.
bool HostIsDevelopmentEnvironment();
// Whether the executable at `path` is the development environment's.
bool IsDevelopmentEnvironmentFile(const std::string& path);
