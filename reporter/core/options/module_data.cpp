#include "reporter/core/options/module_data.h"

bool LoadModuleData(HMODULE module, TVessarModuleOptions& options, TKFModuleData& data,
                    TKFDataParts parts) {
    try {
        TKFModuleData loaded;
        loaded.Container = ReadModuleKFData(module, parts);
        const TKFDataContainer& c = loaded.Container;
        TVessarModuleOptions scratch("");
        ByteReader dataBlock(c.DataBlock);
        if (c.OptionsInDataBlock) {
            scratch.LoadFromStream(dataBlock, c.Version);
        } else {
            ByteReader block(c.OptionsBlock);
            scratch.LoadFromStream(block, c.Version);
        }
        loaded.LineTable = ReadLineTable(dataBlock);
        options.Assign(&scratch);
        data = std::move(loaded);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

bool ReadModuleDataWithOptions(HMODULE module, TKFModuleData& data) {
    TVessarModuleOptions options("");
    return LoadModuleData(module, options, data);
}
