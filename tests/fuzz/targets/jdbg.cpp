// JDBG debug data (a JCLDEBUG section or a .jdbg file), and lookups in it.
#include "debug_lookups.h"
#include "reporter/diagnostics/debug_formats/jdbg_scanner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TKFBinDebugScanner jdbg(std::vector<uint8_t>(data, data + size));
    if (jdbg.ValidFormat())
        AskAtSpreadOffsets(jdbg);
    return 0;
}
