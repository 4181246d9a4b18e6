#include "reporter/core/interception/hooking/procedure_hooks.h"
#include "reporter/base/readable_memory.h"
#include "reporter/core/interception/hooking/hooking_errors.h"
#include "reporter/core/interception/hooking/memory_patch.h"
#include "reporter/core/interception/hooking/relative_jump.h"
#include "reporter/core/interception/hooking/shared_area.h"
#include "reporter/core/interception/hooking/trampoline.h"
#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

struct TPatchedProcedure {
    std::uint8_t* Target;
    TTrampoline Trampoline;
    TRelativeJump SavedBytes; // what the jump at the target overwrote
};

class TPatchedProceduresList {
  public:
    void* Patch(std::uint8_t* target, void* replacement, const std::string& name) {
        const std::lock_guard<std::mutex> guard(lock_);
        if (const auto found = Find(target); found != entries_.end())
            return found->Trampoline.Code;
        TPatchedProcedure entry{target, BuildTrampoline(target, name), {}};
        std::memcpy(entry.SavedBytes.data(), target, entry.SavedBytes.size());
        JumpToMem(target, replacement);
        entries_.push_back(entry);
        return entry.Trampoline.Code;
    }

    bool Unpatch(const void* targetOrTrampoline) {
        const std::lock_guard<std::mutex> guard(lock_);
        const auto found = Find(targetOrTrampoline);
        if (found == entries_.end())
            return false;
        Restore(*found);
        entries_.erase(found);
        return true;
    }

    void UnpatchAll() {
        const std::lock_guard<std::mutex> guard(lock_);
        std::for_each(entries_.rbegin(), entries_.rend(), Restore);
        entries_.clear();
    }

  private:
    std::vector<TPatchedProcedure>::iterator Find(const void* targetOrTrampoline) {
        return std::find_if(entries_.begin(), entries_.end(), [&](const TPatchedProcedure& entry) {
            return entry.Target == targetOrTrampoline ||
                   entry.Trampoline.Code == targetOrTrampoline;
        });
    }

    static void Restore(const TPatchedProcedure& entry) {
        WriteMem(entry.Target, entry.SavedBytes.data(), entry.SavedBytes.size());
        FreeTrampoline(entry.Trampoline);
    }

    std::mutex lock_;
    std::vector<TPatchedProcedure> entries_;
};

TPatchedProceduresList& PatchedProcedures() {
    static TPatchedProceduresList list;
    return list;
}

// Import thunks and some exports are a single `jmp [pointer]`: the code to patch is behind it.
void* FollowIndirectJump(void* code) {
    constexpr std::size_t kIndirectJumpLength = 6;
    const auto bytes = static_cast<const std::uint8_t*>(code);
    if (!code || !IsReadableMemory(code, kIndirectJumpLength) || bytes[0] != 0xFF ||
        bytes[1] != 0x25)
        return code;
    void* const* pointer;
    std::memcpy(&pointer, bytes + 2, sizeof pointer);
    return IsReadableMemory(pointer, sizeof *pointer) ? *pointer : code;
}

} // namespace

void* HookProcedure(void* target, void* replacement, const std::string& name) {
    auto code = static_cast<std::uint8_t*>(FollowIndirectJump(target));
    if (!code)
        throw EProcNull(name);
    RefuseSharedArea(code);
    return PatchedProcedures().Patch(code, FollowIndirectJump(replacement), name);
}

bool UnhookProcedure(void* targetOrTrampoline) {
    return PatchedProcedures().Unpatch(targetOrTrampoline) ||
           PatchedProcedures().Unpatch(FollowIndirectJump(targetOrTrampoline));
}

void UnhookAllProcedures() {
    PatchedProcedures().UnpatchAll();
}
