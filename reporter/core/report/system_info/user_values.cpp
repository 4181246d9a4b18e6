#include "reporter/core/report/system_info/registry_values.h"
#include "reporter/core/report/system_info/system_groups.h"
#include "reporter/core/report/system_info/user_text.h"
#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

std::string LogOnName() {
    char name[256] = {};
    DWORD size = sizeof name;
    return GetUserNameA(name, &size) ? name : std::string();
}

// Setup programs of different ages left the registration in different places.
std::string Registration(const char* name, const char* setupName) {
    const struct {
        const char* Key;
        const char* Name;
    } places[] = {
        {"\\SOFTWARE\\MICROSOFT\\WINDOWS NT\\CURRENTVERSION", name},
        {"\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION", name},
        {"\\SOFTWARE\\MICROSOFT\\MS SETUP (ACME)\\USER INFO", setupName},
    };
    for (const auto& place : places) {
        std::string value = ReadRegistryString(HKEY_LOCAL_MACHINE, place.Key, place.Name);
        if (!value.empty())
            return value;
    }
    return {};
}

std::string PrivilegeName(LUID luid) {
    char name[256] = {};
    DWORD size = sizeof name;
    return LookupPrivilegeNameA(nullptr, &luid, name, &size) ? name : std::string();
}

// The token's privilege list as the system fills it; empty when it cannot be read.
std::vector<uint8_t> PrivilegeList(HANDLE token) {
    DWORD size = 0;
    GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
    std::vector<uint8_t> data(size);
    if (size < sizeof(TOKEN_PRIVILEGES) ||
        !GetTokenInformation(token, TokenPrivileges, data.data(), size, &size))
        return {};
    return data;
}

std::string Privileges() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    const std::vector<uint8_t> data = PrivilegeList(token);
    CloseHandle(token);
    if (data.empty())
        return {};
    const auto* list = reinterpret_cast<const TOKEN_PRIVILEGES*>(data.data());
    const size_t fitting =
        (data.size() - offsetof(TOKEN_PRIVILEGES, Privileges)) / sizeof(LUID_AND_ATTRIBUTES);
    const size_t count = std::min<size_t>(list->PrivilegeCount, fitting);
    std::string lines;
    for (size_t i = 0; i < count; ++i)
        lines += PrivilegeLine(PrivilegeName(list->Privileges[i].Luid),
                               (list->Privileges[i].Attributes & SE_PRIVILEGE_ENABLED) != 0);
    return lines;
}

} // namespace

void AddUserFields(TReportFields& fields, const TWindowsVersion& version) {
    fields["3.1"] = LogOnName();
    fields["3.2"] = RegisteredText(Registration("RegisteredOwner", "DefName"), version);
    fields["3.4"] = RegisteredText(Registration("RegisteredOrganization", "DefCompany"), version);
    fields["3.5"] = Privileges();
}
