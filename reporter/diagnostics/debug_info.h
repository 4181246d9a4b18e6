// One looked-up address, and the module it lies in.
#pragma once
#include <cstdint>
#include <string>
#include <windows.h>

// One module of the process, described once and kept in the modules list.
struct TVessarModuleInfo {
    HMODULE Handle = nullptr;
    std::string FileName; // full path
    std::string Description;
    std::string Version; // empty for "0.0.0.0"
    uint32_t Size = 0;
    FILETIME LastModified{};
};

// How much is known of an address.
enum TVessarDetail : uint8_t {
    kDetailNothing = 0,
    kDetailModule = 1,
    kDetailProcedure = 2,
    kDetailUnit = 3,
    kDetailLine = 4,
};

// One location: an entry of a call stack.
struct TVessarDebugInfo {
    uint8_t Detail = kDetailNothing;
    const TVessarModuleInfo* Module = nullptr; // owned by the modules list
    uint32_t ThreadId = 0;
    bool RunningThread = false; // from the live stack, not from the creation snapshot
    bool ErrorAddress = false;  // the exception's own address
    uint32_t Addr = 0;
    std::string Unit;
    std::string ClassName;
    std::string Procedure;
    int32_t Line = 0;
    int32_t ProcLine = 0;
};
