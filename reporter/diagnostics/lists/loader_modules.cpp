#include "reporter/diagnostics/lists/loader_modules.h"
#include "reporter/base/guarded_read.h"
#include <cstddef>
#include <winternl.h>

namespace {

// More entries than any process loads: a list damaged into a cycle ends here.
constexpr int kMaxEntries = 4096;

const PEB* ProcessBlock() {
    const PEB* peb;
    asm("movl %%fs:0x30, %0" : "=r"(peb)); // TEB.ProcessEnvironmentBlock
    return peb;
}

template <class T> bool Read(const void* from, T& to) {
    return GuardedRead(from, &to, sizeof to);
}

// An entry may be half unlinked by another thread's unload: only an image start is taken.
bool IsImage(const void* base) {
    WORD signature = 0;
    return base && Read(base, signature) && signature == IMAGE_DOS_SIGNATURE;
}

} // namespace

std::vector<HMODULE> LoaderListModules() {
    std::vector<HMODULE> modules;
    const TReadFaultGuard guard;
    PEB_LDR_DATA* loader = nullptr;
    if (!Read(&ProcessBlock()->Ldr, loader) || !loader)
        return modules;
    const LIST_ENTRY* head = &loader->InMemoryOrderModuleList;
    const LIST_ENTRY* link = nullptr;
    if (!Read(&head->Flink, link))
        return modules;
    for (int n = 0; link && link != head && n < kMaxEntries; ++n) {
        const auto* entry = reinterpret_cast<const LDR_DATA_TABLE_ENTRY*>(
            reinterpret_cast<const char*>(link) -
            offsetof(LDR_DATA_TABLE_ENTRY, InMemoryOrderLinks));
        void* base = nullptr;
        if (!Read(&entry->DllBase, base) || !Read(&link->Flink, link))
            break;
        if (IsImage(base))
            modules.push_back(static_cast<HMODULE>(base));
    }
    return modules;
}
