#include "reporter/base/windows_version.h"
#include "reporter/base/run_time_library.h"
#include "runtime/text.h"

namespace {

// Systems before NT 4 SP 6 know only the short structure.
bool ReadVersion(OSVERSIONINFOEXA& info) {
    info.dwOSVersionInfoSize = sizeof info;
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)))
        return true;
    info = {};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    return GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info));
}

bool RunsUnderWow64() {
    TRunTimeLibrary kernel("kernel32.dll");
    auto isWow64Process = kernel.Function<decltype(IsWow64Process)>("IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

} // namespace

TWindowsVersion CurrentWindowsVersion() {
    OSVERSIONINFOEXA info{};
    TWindowsVersion version;
    if (!ReadVersion(info))
        return version;
    version.Platform = info.dwPlatformId;
    version.Major = info.dwMajorVersion;
    version.Minor = info.dwMinorVersion;
    version.Build = info.dwBuildNumber;
    version.ServicePack = Trim(info.szCSDVersion);
    version.ProductType = info.wProductType;
    version.Wow64 = version.IsNT() && RunsUnderWow64();
    return version;
}
