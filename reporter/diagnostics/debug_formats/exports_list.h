// A library's exports as the last source of procedure names: the crash reporter falls back on
// them for addresses that no debug information covers.
#pragma once
#include "reporter/diagnostics/debug_info.h"
#include <optional>
#include <string>
#include <vector>

class TVessarFunctionInfo {
  public:
    TVessarFunctionInfo(std::string name, const void* address)
        : name_(std::move(name)), address_(address) {}

    const std::string& Name() const { return name_; }
    const void* Address() const { return address_; }
    // Bytes up to and including the first return, measured on first use.
    uint32_t Length() const;

  private:
    std::string name_;
    const void* address_;
    mutable std::optional<uint32_t> length_;
};

// The functions in ascending address order.
class TVessarFunctionsList {
  public:
    TVessarFunctionsList() = default;
    explicit TVessarFunctionsList(std::vector<TVessarFunctionInfo> functions);

    size_t Count() const { return functions_.size(); }
    const TVessarFunctionInfo& operator[](size_t index) const { return functions_[index]; }
    // The function with start <= address <= start + length; null when none.
    const TVessarFunctionInfo* FunctionAt(const void* address) const;

  private:
    std::vector<TVessarFunctionInfo> functions_;
};

// The named exports of a library, forwarded ones resolved and import thunks followed; empty
// for the program, whose exports are the crash reporter's own entries.
TVessarFunctionsList FunctionsListFor(HMODULE module);

// Fills Unit, ClassName, Procedure and Detail (3 or 2) from the export holding `address`;
// false, changing nothing, when none holds it or its name tells nothing.
bool LocateByExport(const TVessarFunctionsList& exports, const void* address,
                    TVessarDebugInfo& info);
