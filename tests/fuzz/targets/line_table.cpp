// A module's own line table as the crash reporter takes it from the module's data: indexed once,
// then addresses looked up. The first byte picks the table's version and whether the names
// open with the (empty) password; the rest is the table.
#include "input_choices.h"
#include "reporter/diagnostics/debug_formats/kfdata_password.h"
#include "reporter/diagnostics/debug_formats/line_table_lookup.h"
#include "reporter/diagnostics/debug_formats/module_own_data.h"

namespace {

using namespace input_choices;
constexpr uintptr_t kModuleHandle = 0x400000;
constexpr uint32_t kOffsets[] = {0,      1,      2,       0x10,    0x40,       0x100,
                                 0x1000, 0x1234, 0x10000, 0x12345, 0x7FFFFFFF, 0xFFFFFFFF};

TKFModuleData ModuleData(uint8_t choice, std::vector<uint8_t> table) {
    TKFModuleData data;
    data.Container.Version = Pick(kLineTableVersions, choice);
    data.Container.HasPasswordCheck = (choice & kHasPasswordCheck) != 0;
    data.Container.PasswordCheck =
        PasswordCheckValue((choice & kEmptyPasswordFits) != 0 ? "" : "other");
    data.LineTable = std::move(table);
    return data;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    TVessarModuleInfo module;
    module.Handle = reinterpret_cast<HMODULE>(kModuleHandle);
    AttachOwnDebugData(module, ModuleData(data[0], std::vector<uint8_t>(data + 1, data + size)));
    for (uint32_t offset : kOffsets) {
        TVessarDebugInfo info;
        try {
            LocateInLineTable(module,
                              reinterpret_cast<const void*>(kModuleHandle + 0x1000 + offset), info);
        } catch (const EStreamReadError&) {
        }
    }
    return 0;
}
