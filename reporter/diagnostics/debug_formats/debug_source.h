// Address-to-name information of a module built by other tools: a linker map, TD32 or JDBG
// debug data. One source per module, opened once and asked for every address in it.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <windows.h>

class TKFDebugInfoSource;

// What a debug source knows of one address.
struct TKFLocationInfo {
    uint32_t Addr = 0; // the absolute address asked for
    std::string UnitName;
    std::string ProcedureName;
    int32_t ProcLines = 0; // lines from the procedure's first line
    int32_t LineNumber = 0;
    std::string SourceFile;
    const TKFDebugInfoSource* Provider = nullptr;
};

class TKFDebugInfoSource {
  public:
    explicit TKFDebugInfoSource(HMODULE module) : module_(module) {}
    virtual ~TKFDebugInfoSource() = default;
    TKFDebugInfoSource(const TKFDebugInfoSource&) = delete;
    TKFDebugInfoSource& operator=(const TKFDebugInfoSource&) = delete;

    virtual bool HasData() const = 0;
    // True when the unit holding `address` was found; fills what is known.
    virtual bool Locate(const void* address, TKFLocationInfo& info) const = 0;
    // The offset from the start of the code section.
    uint32_t CodeOffset(const void* address) const {
        return uint32_t(reinterpret_cast<uintptr_t>(address) -
                        reinterpret_cast<uintptr_t>(module_) - 0x1000);
    }
    HMODULE Module() const { return module_; }

  private:
    HMODULE module_;
};

// The debug source of a module: its map file, TD32 data (in the image or a .tds file) or JDBG
// data (a JCLDEBUG section or a .jdbg file); null when it has none.
std::unique_ptr<TKFDebugInfoSource> DebugSourceFor(HMODULE module);
