// How the user's values are written.
#pragma once
#include "reporter/base/windows_version.h"
#include <string>

// One line of the privileges list: the name padded to 31 characters, " - ON" or " - OFF", CR LF.
std::string PrivilegeLine(const std::string& name, bool enabled);
// A registered owner or organisation as the report shows it: from Windows Vista on, setup
// writes "Microsoft" where the user gave nothing, so that text counts as none there.
std::string RegisteredText(const std::string& value, const TWindowsVersion& version);
