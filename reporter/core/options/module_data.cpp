#include "reporter/core/options/module_data.h"
#include "reporter/core/options/container_data.h"

bool LoadModuleData(HMODULE module, TVessarModuleOptions& options, TKFModuleData& data,
                    TKFDataParts parts) {
    try {
        return LoadContainerData(ReadModuleKFData(module, parts), options, data);
    } catch (const Exception&) {
        return false;
    }
}

bool ReadModuleDataWithOptions(HMODULE module, TKFModuleData& data) {
    TVessarModuleOptions options("");
    return LoadModuleData(module, options, data);
}
