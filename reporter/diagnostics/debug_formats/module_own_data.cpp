#include "reporter/diagnostics/debug_formats/module_own_data.h"
#include "reporter/diagnostics/debug_formats/line_table_index.h"
#include "reporter/diagnostics/debug_formats/module_password.h"

void AttachOwnDebugData(TVessarModuleInfo& module, TKFModuleData data) {
    const TKFDataContainer& c = data.Container;
    module.KFDataTimeStamp = c.BuildTime;
    module.DebugDataVersion = data.LineTable.empty() ? 0 : uint16_t(c.Version);
    module.LineTable = std::move(data.LineTable);
    module.LineIndex =
        module.LineTable.empty()
            ? nullptr
            : std::make_shared<const TLineTableIndex>(module.LineTable, module.DebugDataVersion);
    module.PasswordCheck.reset();
    if (c.HasPasswordCheck)
        module.PasswordCheck = c.PasswordCheck;
    SetModulePassword(module, "");
}

bool LoadOwnDebugData(TVessarModuleInfo& module) {
    TKFModuleData data;
    if (!ReadModuleDebugData(module.Handle, data))
        return false;
    AttachOwnDebugData(module, std::move(data));
    return true;
}
