// The KFDATA container in both forms, and what the crash reporter takes out of it: the options
// block and the line table, indexed.
#include "reporter/core/options/container_data.h"
#include "reporter/diagnostics/debug_formats/line_table_index.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    try {
        TVessarModuleOptions options("");
        TKFModuleData moduleData;
        if (LoadContainerData(ReadKFData(bytes), options, moduleData))
            TLineTableIndex(moduleData.LineTable, moduleData.Container.Version);
    } catch (const EKFDataError&) {
    }
    try {
        ReadKFDataTrailer(bytes);
    } catch (const EKFDataError&) {
    }
    return 0;
}
