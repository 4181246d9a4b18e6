#include "reporter/diagnostics/locate_address.h"
#include "reporter/diagnostics/modules_list.h"

bool LocateAddress(const void* address, TVessarDebugInfo& info) {
    info.Addr = uint32_t(reinterpret_cast<uintptr_t>(address));
    info.Module = ModulesList().ModuleAt(address);
    info.Detail = info.Module ? kDetailModule : kDetailNothing;
    return info.Module != nullptr;
}
