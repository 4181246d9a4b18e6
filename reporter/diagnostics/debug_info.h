// One looked-up address, and the module it lies in.
#pragma once
#include "reporter/base/block_cipher.h"
#include "reporter/diagnostics/debug_formats/debug_source.h"
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <windows.h>

class TLineTableIndex;
class TVessarFunctionsList;

enum TVessarModuleType : uint8_t {
    kModuleNotDetermined = 0, // a light record, made while the modules are listed
    kModuleProgram = 1,
    kModulePackage = 2, // a library with the resources "PACKAGEINFO" and "PACKAGEOPTIONS"
    kModuleLibrary = 3,
};

// One module of the process, described once and kept in the modules list.
struct TVessarModuleInfo {
    TVessarModuleInfo();
    ~TVessarModuleInfo();
    TVessarModuleInfo(TVessarModuleInfo&&) noexcept;
    TVessarModuleInfo& operator=(TVessarModuleInfo&&) noexcept;

    HMODULE Handle = nullptr;
    std::string FileName; // full path
    std::string Description;
    std::string Version; // empty for "0.0.0.0"
    uint32_t Size = 0;
    std::unique_ptr<TVessarFunctionsList> Exports; // null until read
    uint8_t ModuleType = kModuleNotDetermined;
    uint16_t DebugDataVersion = 0;  // of the module's own line table; 0 when it has none
    double KFDataTimeStamp = 0;     // build time from the crash reporter data, days since 1899
    std::vector<uint8_t> LineTable; // the module's own line table; empty when none
    std::shared_ptr<const TLineTableIndex> LineIndex; // made with the table; null when none
    std::unique_ptr<TKFDebugInfoSource> DebugSource;  // other tools' debug data, when no table
    FILETIME LastModified{};
    // The image's link time stamp and size from its headers: with the path they tell a module
    // from another one loaded later at the same address.
    uint32_t ImageTimeStamp = 0;
    uint32_t ImageSize = 0;
    // The password that opens the line table's names; set through SetModulePassword.
    std::string Password;
    bool PasswordFits = true;
    std::optional<uint32_t> PasswordCheck; // from the crash reporter data, when it has one
    TCipherKey PasswordKey{};
};

// A module's description is shared: the modules list drops it when the module goes, and whoever
// still holds it (a call stack, the report's modules listing) keeps it alive.
using TModuleRef = std::shared_ptr<const TVessarModuleInfo>;

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
    TModuleRef Module;
    uint32_t ThreadId = 0;
    bool RunningThread = false; // from the live stack, not from the creation snapshot
    bool ErrorAddress = false;  // the exception's own address
    uint32_t Addr = 0;
    std::string Unit;
    std::string ClassName;
    std::string Procedure;
    int32_t Line = 0;
    int32_t ProcLine = 0;
    // For a stack entry at a direct call: the procedure the call enters (an import or jump thunk
    // followed); 0 for other entries.
    uint32_t CallTarget = 0;
};
