#include "reporter/core/interception/hooking/import_hooks.h"
#include "reporter/base/readable_memory.h"
#include "reporter/core/interception/hooking/hooking_errors.h"
#include "reporter/core/interception/hooking/memory_patch.h"
#include "reporter/core/interception/hooking/pe_imports.h"
#include "reporter/core/interception/hooking/shared_area.h"
#include "runtime/module_names.h"
#include <cstring>
#include <mutex>
#include <utility>

namespace {

class TSavedImportsList {
  public:
    void Add(TSaveDLLProc saved) {
        const std::lock_guard<std::mutex> guard(lock_);
        entries_.push_back(std::move(saved));
    }

    std::vector<TSaveDLLProc> TakeAll() {
        const std::lock_guard<std::mutex> guard(lock_);
        return std::exchange(entries_, {});
    }

  private:
    std::mutex lock_;
    std::vector<TSaveDLLProc> entries_;
};

TSavedImportsList& SavedImports() {
    static TSavedImportsList list;
    return list;
}

constexpr std::size_t kStubLength = 10; // push imm32; jmp rel32

// On the 9x family imports of system modules lead to per-module stubs that push the real
// procedure's id and jump on: two stubs pushing the same id are the same procedure.
bool IsSameWin9xStub(const void* a, const void* b) {
    const auto stubA = static_cast<const std::uint8_t*>(a);
    const auto stubB = static_cast<const std::uint8_t*>(b);
    const auto isStub = [](const std::uint8_t* code) {
        return IsReadableMemory(code, kStubLength) && code[0] == 0x68 && code[5] == 0xE9;
    };
    return isStub(stubA) && isStub(stubB) && std::memcmp(stubA + 1, stubB + 1, 4) == 0;
}

bool IsSameProcedure(const void* entry, const void* procedure) {
    return entry == procedure || (IsWindows9xFamily() && IsSameWin9xStub(entry, procedure));
}

// Returns how many entries held `from`; EHookingError naming `label` without import table.
int ReplaceImportEntries(HMODULE module, const std::string& exportingModule, const void* from,
                         void* to, const std::string& label) {
    const auto entries = ImportEntries(module, exportingModule);
    if (!entries)
        throw EHookingError(label);
    int replaced = 0;
    for (void** entry : *entries) {
        if (!IsSameProcedure(*entry, from))
            continue;
        WriteMem(entry, &to, sizeof to);
        ++replaced;
    }
    return replaced;
}

void* ExportedProcedure(const std::string& module, const std::string& procedure) {
    const HMODULE exporting = GetModuleHandleA(module.c_str());
    return exporting ? reinterpret_cast<void*>(GetProcAddress(exporting, procedure.c_str()))
                     : nullptr;
}

bool IsStillLoaded(HMODULE module) {
    return ModuleAt(module) == module;
}

} // namespace

bool HookImport(const std::vector<std::string>& moduleNames, const std::string& exportingModule,
                const std::string& procedureName, void* replacement, bool mustSucceed,
                void** previous) {
    const std::string label = exportingModule + "." + procedureName;
    void* const replaced = ExportedProcedure(exportingModule, procedureName);
    if (previous)
        *previous = replaced;
    if (!replaced)
        throw EProcNull(label);
    bool replacedAny = false;
    for (const std::string& moduleName : moduleNames) {
        const HMODULE module = GetModuleHandleA(moduleName.c_str());
        if (!module)
            continue;
        RefuseSharedArea(module);
        if (ReplaceImportEntries(module, exportingModule, replaced, replacement, label) > 0) {
            SavedImports().Add({replaced, replacement, module, exportingModule});
            replacedAny = true;
        } else if (mustSucceed) {
            throw EHookingError(label);
        }
    }
    return replacedAny;
}

void RestoreAllImports() {
    for (const TSaveDLLProc& saved : SavedImports().TakeAll()) {
        if (IsStillLoaded(saved.Module))
            ReplaceImportEntries(saved.Module, saved.ExportingModule, saved.NewProc,
                                 saved.PreviousProc, saved.ExportingModule);
    }
}
