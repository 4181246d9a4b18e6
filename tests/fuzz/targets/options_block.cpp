// The options block of every container version: the first byte picks the version, the rest is
// the block. A block that reads is written again; what this code writes must read back, and
// writing that gives the same bytes.
#include "input_choices.h"
#include "reporter/core/options/module_options.h"
#include <cstdlib>

namespace {

std::vector<uint8_t> Written(const TVessarModuleOptions& options) {
    ByteWriter block;
    options.SaveToStream(block);
    return block.Data();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const int version = input_choices::Pick(input_choices::kOptionsVersions, data[0]);
    const std::vector<uint8_t> block(data + 1, data + size);
    TVessarModuleOptions options("");
    try {
        ByteReader reader(block);
        options.LoadFromStream(reader, version);
    } catch (const EStreamReadError&) {
        return 0;
    }
    const std::vector<uint8_t> written = Written(options);
    TVessarModuleOptions readBack("");
    ByteReader reader(written);
    readBack.LoadFromStream(reader);
    if (Written(readBack) != written)
        std::abort();
    return 0;
}
