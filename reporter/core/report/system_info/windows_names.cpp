#include "reporter/base/windows_version.h"
#include "runtime/format.h"

namespace {

std::string Numbered(const TWindowsVersion& v) {
    return Format("%lu.%lu", v.Major, v.Minor);
}

std::string Series95Name(const TWindowsVersion& v) {
    if (v.Minor < 10)
        return v.ServicePack == "B" ? "95 OSR 2" : "95";
    if (v.Minor < 90)
        return v.ServicePack == "A" ? "98 SE" : "98";
    return v.Minor == 90 ? "ME" : Numbered(v);
}

std::string NTName(const TWindowsVersion& v) {
    const bool workstation = v.ProductType == VER_NT_WORKSTATION;
    if (v.Major == 4)
        return "NT 4.0";
    if (v.Major == 5 && v.Minor <= 2) {
        const char* names[] = {"2000", "XP", workstation ? "XP" : "2003"};
        return names[v.Minor];
    }
    if (v.Major == 6 && v.Minor == 0)
        return workstation ? "Vista" : "Server 2008";
    if (v.Major == 6 && v.Minor == 1)
        return workstation ? "7" : "Server 2008 R2";
    return Numbered(v);
}

} // namespace

std::string WindowsTypeName(const TWindowsVersion& version) {
    const std::string prefix = "Microsoft Windows ";
    if (version.Is9x())
        return prefix + Series95Name(version);
    if (version.IsNT())
        return prefix + NTName(version) + (version.Wow64 ? " (64 bit)" : "");
    return prefix;
}

std::string WindowsBuildText(const TWindowsVersion& version) {
    return std::to_string(version.Is9x() ? LOWORD(version.Build) : version.Build);
}
