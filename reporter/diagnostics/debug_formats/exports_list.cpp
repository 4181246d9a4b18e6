#include "reporter/diagnostics/debug_formats/exports_list.h"
#include "reporter/diagnostics/debug_formats/export_names.h"
#include "reporter/diagnostics/debug_formats/export_table.h"
#include "reporter/diagnostics/debug_formats/function_length.h"
#include <algorithm>

uint32_t TVessarFunctionInfo::Length() const {
    if (!length_)
        length_ = ProcedureLength(address_);
    return *length_;
}

TVessarFunctionsList::TVessarFunctionsList(std::vector<TVessarFunctionInfo> functions)
    : functions_(std::move(functions)) {
    std::stable_sort(functions_.begin(), functions_.end(),
                     [](const TVessarFunctionInfo& a, const TVessarFunctionInfo& b) {
                         return a.Address() < b.Address();
                     });
}

const TVessarFunctionInfo* TVessarFunctionsList::FunctionAt(const void* address) const {
    auto after = std::upper_bound(
        functions_.begin(), functions_.end(), address,
        [](const void* key, const TVessarFunctionInfo& f) { return key < f.Address(); });
    if (after == functions_.begin())
        return nullptr;
    const TVessarFunctionInfo& function = *(after - 1);
    const auto start = static_cast<const uint8_t*>(function.Address());
    return static_cast<const uint8_t*>(address) <= start + function.Length() ? &function : nullptr;
}

TVessarFunctionsList FunctionsListFor(HMODULE module) {
    if (module == GetModuleHandleA(nullptr))
        return {};
    return TVessarFunctionsList(ReadExportTable(module));
}

bool LocateByExport(const TVessarFunctionsList& exports, const void* address,
                    TVessarDebugInfo& info) {
    const TVessarFunctionInfo* function = exports.FunctionAt(address);
    if (!function)
        return false;
    TExportName name = ReadExportName(function->Name());
    if (name.Detail == kDetailNothing)
        return false;
    info.Detail = name.Detail;
    info.Unit = std::move(name.Unit);
    info.ClassName = std::move(name.ClassName);
    info.Procedure = std::move(name.Procedure);
    return true;
}
