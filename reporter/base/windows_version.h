// Which Windows the process runs on, as the system information and the lists need it.
#pragma once
#include <string>
#include <windows.h>

struct TWindowsVersion {
    DWORD Platform = 0; // VER_PLATFORM_WIN32_WINDOWS (the 95 series) or VER_PLATFORM_WIN32_NT
    DWORD Major = 0;
    DWORD Minor = 0;
    DWORD Build = 0;
    std::string ServicePack;
    BYTE ProductType = 0; // VER_NT_WORKSTATION (1) on a workstation; 0 when unknown
    bool Wow64 = false;   // a 32-bit process on a 64-bit system

    bool IsNT() const { return Platform == VER_PLATFORM_WIN32_NT; }
    bool Is9x() const { return Platform == VER_PLATFORM_WIN32_WINDOWS; }
};

TWindowsVersion CurrentWindowsVersion();

// "Microsoft Windows XP", "Microsoft Windows 7 (64 bit)" and so on.
std::string WindowsTypeName(const TWindowsVersion& version);
// The build number; the 95 series keeps other data in its high 16 bits.
std::string WindowsBuildText(const TWindowsVersion& version);
