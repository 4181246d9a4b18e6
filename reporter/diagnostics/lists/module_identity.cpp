#include "reporter/diagnostics/lists/module_identity.h"
#include "reporter/base/guarded_read.h"
#include "runtime/module_names.h"

namespace {

// The headers are read under a guard: the module may be unloaded by another thread meanwhile.
bool ReadImageHeaders(HMODULE module, IMAGE_NT_HEADERS32& headers) {
    IMAGE_DOS_HEADER dos{};
    return ReadOwnMemory(module, &dos, sizeof dos) && dos.e_magic == IMAGE_DOS_SIGNATURE &&
           ReadOwnMemory(reinterpret_cast<const char*>(module) + dos.e_lfanew, &headers,
                         sizeof headers) &&
           headers.Signature == IMAGE_NT_SIGNATURE;
}

} // namespace

TModuleIdentity LoadedModuleIdentity(HMODULE module) {
    TModuleIdentity identity;
    if (!module)
        return identity;
    identity.Path = ModulePath(module);
    IMAGE_NT_HEADERS32 headers{};
    if (!identity.Path.empty() && ReadImageHeaders(module, headers)) {
        identity.ImageTimeStamp = headers.FileHeader.TimeDateStamp;
        identity.ImageSize = headers.OptionalHeader.SizeOfImage;
    }
    return identity;
}

bool Describes(const TVessarModuleInfo& info, const TModuleIdentity& loaded) {
    return !loaded.Path.empty() && info.FileName == loaded.Path &&
           info.ImageTimeStamp == loaded.ImageTimeStamp && info.ImageSize == loaded.ImageSize;
}
