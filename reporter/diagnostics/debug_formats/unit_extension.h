// The source-file extension that turns a unit name into the unit's file name in reports.
#pragma once

inline constexpr const char* kUnitSourceExtension = ".cpp";
