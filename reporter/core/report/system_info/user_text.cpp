#include "reporter/core/report/system_info/user_text.h"

namespace {

constexpr size_t kPrivilegeNameWidth = 31;

} // namespace

std::string PrivilegeLine(const std::string& name, bool enabled) {
    std::string line = name;
    if (line.size() < kPrivilegeNameWidth)
        line.resize(kPrivilegeNameWidth, ' ');
    return line + (enabled ? " - ON" : " - OFF") + "\r\n";
}

std::string RegisteredText(const std::string& value, const TWindowsVersion& version) {
    if (version.IsNT() && version.Major >= 6 && value == "Microsoft")
        return {};
    return value;
}
