#include "reporter/diagnostics/lists/loaded_modules.h"
#include "reporter/base/windows_version.h"
#include "reporter/diagnostics/lists/loader_modules.h"
#include "reporter/diagnostics/lists/modules_list.h"
#include "reporter/diagnostics/lists/tool_help.h"
#include <algorithm>
#include <atomic>
#include <functional>
#include <psapi.h>

namespace {

std::vector<HMODULE> EnumeratedModules(HANDLE process, decltype(EnumProcessModules)* enumerate) {
    DWORD needed = 0;
    if (!enumerate(process, nullptr, 0, &needed) || needed == 0)
        return {};
    std::vector<HMODULE> handles(needed / sizeof(HMODULE));
    if (!enumerate(process, handles.data(), DWORD(handles.size() * sizeof(HMODULE)), &needed))
        return {};
    // Modules loaded between the two calls are left for the next refresh.
    handles.resize(std::min<size_t>(handles.size(), needed / sizeof(HMODULE)));
    return handles;
}

std::vector<HMODULE> ProcessStatusModules() {
    TRunTimeLibrary psapi("PSAPI.DLL");
    auto enumerate = psapi.Function<decltype(EnumProcessModules)>("EnumProcessModules");
    if (!enumerate)
        return {};
    HANDLE process =
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, GetCurrentProcessId());
    if (!process)
        return {};
    std::vector<HMODULE> handles = EnumeratedModules(process, enumerate);
    CloseHandle(process);
    return handles;
}

std::vector<HMODULE> SnapshotModules() {
    std::vector<HMODULE> handles;
    TToolHelp().Modules(GetCurrentProcessId(), [&](const MODULEENTRY32& entry) {
        handles.push_back(entry.hModule);
        return true;
    });
    return handles;
}

// The system's enumeration goes through its cross-process path even for this process, and that
// path is unavailable on some systems (an emulated 32-bit Wine among them): then the loader's
// own list is read in memory. It is the list the system reads: once the system has failed, it
// is not asked again.
std::vector<HMODULE> LoadedHandles(TModuleSource source) {
    static std::atomic<bool> systemFails{false};
    if (!systemFails) {
        std::vector<HMODULE> loaded =
            source == TModuleSource::ProcessStatus ? ProcessStatusModules() : SnapshotModules();
        if (!loaded.empty())
            return loaded;
        systemFails = true;
    }
    return LoaderListModules();
}

} // namespace

TModuleSource ModuleSourceForSystem() {
    return CurrentWindowsVersion().IsNT() ? TModuleSource::ProcessStatus : TModuleSource::Snapshot;
}

void RefreshModules(TLoadedModules& modules, TModuleSource source) {
    std::vector<HMODULE> loaded = LoadedHandles(source);
    std::sort(loaded.begin(), loaded.end(), std::less<HMODULE>());
    loaded.erase(std::unique(loaded.begin(), loaded.end()), loaded.end());
    modules.clear();
    for (HMODULE handle : loaded)
        modules.push_back(ModulesList().LightModuleOf(handle));
}
