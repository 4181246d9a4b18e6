#include "unavailable_system_paths.h"
#include "reporter/core/interception/hooking/procedure_hooks.h"
#include <vector>
#include <windows.h>

#include <tlhelp32.h> // after windows.h, whose types it uses

namespace {

BOOL WINAPI DeniedRead(HANDLE, LPCVOID, LPVOID, SIZE_T, SIZE_T* read) {
    if (read)
        *read = 0;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

BOOL WINAPI DeniedModules(HANDLE, HMODULE*, DWORD, DWORD*) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

DWORD WINAPI DeniedFileName(HANDLE, HMODULE, LPSTR, DWORD) {
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
}

using SnapshotProc = HANDLE(WINAPI*)(DWORD, DWORD);
SnapshotProc originalSnapshot = nullptr;

HANDLE WINAPI SnapshotWithoutModules(DWORD flags, DWORD processId) {
    if (flags & (TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return originalSnapshot(flags, processId);
}

void* Entry(const char* module, const char* name) {
    HMODULE handle = LoadLibraryA(module);
    return handle ? reinterpret_cast<void*>(GetProcAddress(handle, name)) : nullptr;
}

struct THook {
    const char* Module;
    const char* Name;
    void* Replacement;
};

// The process-status names forward to kernel32's on newer systems: the same code, patched once.
const THook kHooks[] = {
    {"kernel32.dll", "ReadProcessMemory", reinterpret_cast<void*>(DeniedRead)},
    {"kernel32.dll", "K32EnumProcessModules", reinterpret_cast<void*>(DeniedModules)},
    {"psapi.dll", "EnumProcessModules", reinterpret_cast<void*>(DeniedModules)},
    {"kernel32.dll", "K32GetModuleFileNameExA", reinterpret_cast<void*>(DeniedFileName)},
    {"psapi.dll", "GetModuleFileNameExA", reinterpret_cast<void*>(DeniedFileName)},
};

std::vector<void*> patched;

} // namespace

TUnavailableSystemPaths::TUnavailableSystemPaths() {
    for (const THook& hook : kHooks)
        if (void* target = Entry(hook.Module, hook.Name))
            patched.push_back(HookProcedure(target, hook.Replacement, hook.Name));
    originalSnapshot = reinterpret_cast<SnapshotProc>(
        HookProcedure(Entry("kernel32.dll", "CreateToolhelp32Snapshot"),
                      reinterpret_cast<void*>(SnapshotWithoutModules), "CreateToolhelp32Snapshot"));
    patched.push_back(reinterpret_cast<void*>(originalSnapshot));
}

TUnavailableSystemPaths::~TUnavailableSystemPaths() {
    for (void* trampoline : patched)
        UnhookProcedure(trampoline);
    patched.clear();
    originalSnapshot = nullptr;
}
