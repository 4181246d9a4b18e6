// Virtual-method patching: one slot of a class's virtual-method table gets another method.
#pragma once
#include <mutex>
#include <vector>

// The patched slots with the methods they held before; every hook and unhook holds the lock.
class THookedMethodsList {
  public:
    // Returns the slot's previous method, or null when the table lies in no loaded module (then
    // nothing is written). A slot that already holds `method` returns its recorded previous one.
    void* Hook(void** table, int slot, void* method);
    // False when the slot is not patched.
    bool Unhook(void** table, int slot);
    void UnhookAll();

  private:
    struct TEntry {
        void** Table;
        int Slot;
        void* Previous;
    };

    std::vector<TEntry>::iterator Find(void** table, int slot);

    std::mutex lock_;
    std::vector<TEntry> entries_;
};

// The process-wide list behind the functions below.
THookedMethodsList& HookedMethods();

void* HookVirtualMethod(void* table, int slot, void* method);
bool UnhookVirtualMethod(void* table, int slot);
