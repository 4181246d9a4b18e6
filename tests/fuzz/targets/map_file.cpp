// A linker map beside a module (Borland's and the GNU linker's forms), and lookups in it.
#include "debug_lookups.h"
#include "reporter/diagnostics/debug_formats/map_scanner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TKFMapScanner map(std::string(reinterpret_cast<const char*>(data), size));
    if (map.HasData())
        AskAtSpreadOffsets(map);
    return 0;
}
