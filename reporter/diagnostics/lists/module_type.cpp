#include "reporter/diagnostics/lists/module_type.h"
#include "reporter/diagnostics/debug_formats/pe_image.h"

namespace {

bool HasData(HMODULE module, const char* name) {
    return FindResourceA(module, name, MAKEINTRESOURCEA(10)) != nullptr; // RT_RCDATA
}

} // namespace

TVessarModuleType ModuleTypeOf(HMODULE module) {
    const std::optional<TPEImage> image = ReadPEImage(module);
    if (!image || !(image->Headers.FileHeader.Characteristics & IMAGE_FILE_DLL))
        return kModuleProgram;
    return HasData(module, "PACKAGEINFO") && HasData(module, "PACKAGEOPTIONS") ? kModulePackage
                                                                               : kModuleLibrary;
}
