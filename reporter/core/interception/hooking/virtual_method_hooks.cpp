#include "reporter/core/interception/hooking/virtual_method_hooks.h"
#include "reporter/core/interception/hooking/memory_patch.h"
#include "runtime/module_names.h"
#include <algorithm>
#include <windows.h>

namespace {

bool LiesInLoadedModule(const void* address) {
    return ModuleAt(address) != nullptr;
}

} // namespace

void* THookedMethodsList::Hook(void** table, int slot, void* method) {
    const std::lock_guard<std::mutex> guard(lock_);
    const auto found = Find(table, slot);
    if (found != entries_.end() && table[slot] == method)
        return found->Previous;
    if (!LiesInLoadedModule(table + slot))
        return nullptr;
    void* previous = table[slot];
    WriteMem(table + slot, &method, sizeof method);
    // Hooked again with another method: unhooking still brings back the original.
    if (found == entries_.end())
        entries_.push_back({table, slot, previous});
    return previous;
}

bool THookedMethodsList::Unhook(void** table, int slot) {
    const std::lock_guard<std::mutex> guard(lock_);
    const auto found = Find(table, slot);
    if (found == entries_.end())
        return false;
    WriteMem(table + slot, &found->Previous, sizeof found->Previous);
    entries_.erase(found);
    return true;
}

void THookedMethodsList::UnhookAll() {
    const std::lock_guard<std::mutex> guard(lock_);
    for (const TEntry& entry : entries_)
        WriteMem(entry.Table + entry.Slot, &entry.Previous, sizeof entry.Previous);
    entries_.clear();
}

std::vector<THookedMethodsList::TEntry>::iterator THookedMethodsList::Find(void** table, int slot) {
    return std::find_if(entries_.begin(), entries_.end(), [&](const TEntry& entry) {
        return entry.Table == table && entry.Slot == slot;
    });
}

THookedMethodsList& HookedMethods() {
    static THookedMethodsList list;
    return list;
}

void* HookVirtualMethod(void* table, int slot, void* method) {
    return HookedMethods().Hook(static_cast<void**>(table), slot, method);
}

bool UnhookVirtualMethod(void* table, int slot) {
    return HookedMethods().Unhook(static_cast<void**>(table), slot);
}
