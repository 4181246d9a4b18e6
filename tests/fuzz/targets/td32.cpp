// TD32 debug data (in the image or a .tds file), and lookups in it.
#include "debug_lookups.h"
#include "reporter/diagnostics/debug_formats/td32_scanner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TKFTD32InfoScanner td32{TByteView(data, size)};
    if (td32.ValidData())
        AskAtSpreadOffsets(td32);
    return 0;
}
