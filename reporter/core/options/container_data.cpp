#include "reporter/core/options/container_data.h"

bool LoadContainerData(TKFDataContainer container, TVessarModuleOptions& options,
                       TKFModuleData& data) {
    try {
        TKFModuleData loaded;
        loaded.Container = std::move(container);
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
