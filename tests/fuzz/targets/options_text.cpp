// The build step's options text, as developers write it.
#include "options_text.h"
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream text(std::string(reinterpret_cast<const char*>(data), size));
    TVessarModuleOptions options("");
    try {
        ApplyOptionsText(text, "fuzz.options", options);
    } catch (const OptionsTextError&) {
    }
    return 0;
}
