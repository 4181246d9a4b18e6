// The build step on a linked image: its sections, the DWARF line programs and procedure entries
// read from them, and the line table made of both.
#include "dwarf_cursor.h"
#include "line_table_builder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const PeFile image(std::span<const uint8_t>(data, size));
        BuildLineTable(image, "password");
    } catch (const PeFileError&) {
    } catch (const DwarfError&) {
    }
    return 0;
}
