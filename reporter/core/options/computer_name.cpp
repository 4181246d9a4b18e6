#include "reporter/core/options/computer_name.h"
#include <algorithm>
#include <string_view>
#include <windows.h>

namespace {

constexpr size_t kMaxComputerNameLength = 15;

bool IsForbiddenInFileNames(char c) {
    return std::string_view("*/:<>?\\|\"").find(c) != std::string_view::npos;
}

} // namespace

std::string SystemComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    return GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

std::string ComputerNameForFileName(const std::string& computerName) {
    std::string name = computerName.substr(0, kMaxComputerNameLength);
    std::replace_if(name.begin(), name.end(), IsForbiddenInFileNames, '_');
    return name;
}
