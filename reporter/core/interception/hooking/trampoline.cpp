#include "reporter/core/interception/hooking/trampoline.h"
#include "reporter/core/interception/hooking/hooking_errors.h"
#include "reporter/core/interception/hooking/relative_jump.h"
#include "reporter/diagnostics/disassembly/instruction_length.h"
#include <cstring>
#include <vector>
#include <windows.h>

namespace {

struct TMovedInstruction {
    std::size_t Offset;
    TInstruction Instruction;
    const std::uint8_t* Destination; // of a branch that leaves the moved bytes, else null
};

struct TMovedCode {
    std::vector<TMovedInstruction> Instructions;
    std::size_t Covered = 0;
    std::size_t ShortJumpsOut = 0;
};

// Whole instructions until the 5-byte jump fits, each with where its branch leads outside.
TMovedCode MovedCode(const std::uint8_t* procedure, const std::string& procedureName) {
    TMovedCode moved;
    while (moved.Covered < kRelativeJumpLength) {
        const TInstruction instruction = DecodeInstruction(procedure + moved.Covered);
        // A 16-bit relative branch truncates the instruction pointer: no copy could keep it.
        if (instruction.Length == 0 || instruction.RelativeSize == 2)
            throw EHookingError(procedureName);
        moved.Instructions.push_back({moved.Covered, instruction, nullptr});
        moved.Covered += instruction.Length;
    }
    for (TMovedInstruction& item : moved.Instructions) {
        if (item.Instruction.RelativeSize == 0)
            continue;
        const std::uint8_t* destination =
            BranchDestination(procedure + item.Offset, item.Instruction);
        if (destination >= procedure && destination < procedure + moved.Covered)
            continue;
        item.Destination = destination;
        moved.ShortJumpsOut += item.Instruction.RelativeSize == 1 ? 1 : 0;
    }
    return moved;
}

void WriteJump(std::uint8_t* at, const void* target) {
    const TRelativeJump jump = RelativeJump(at, target);
    std::memcpy(at, jump.data(), jump.size());
}

// Points the copied branch at `item` to `target`, a place in the trampoline or outside.
void Retarget(std::uint8_t* copy, const TMovedInstruction& item, const void* target) {
    std::uint8_t* end = copy + item.Offset + item.Instruction.Length;
    const std::int32_t displacement = RelativeDisplacement(end, target);
    if (item.Instruction.RelativeSize == 1)
        end[-1] = static_cast<std::uint8_t>(displacement);
    else
        std::memcpy(end - 4, &displacement, sizeof displacement);
}

// Short branches reach the real destination through a 5-byte jump appended after the copy.
void RelocateBranches(const TMovedCode& moved, std::uint8_t* copy) {
    std::uint8_t* appended = copy + moved.Covered + kRelativeJumpLength;
    for (const TMovedInstruction& item : moved.Instructions) {
        if (!item.Destination)
            continue;
        if (item.Instruction.RelativeSize == 4) {
            Retarget(copy, item, item.Destination);
            continue;
        }
        WriteJump(appended, item.Destination);
        Retarget(copy, item, appended);
        appended += kRelativeJumpLength;
    }
}

} // namespace

TTrampoline BuildTrampoline(const std::uint8_t* procedure, const std::string& procedureName) {
    const TMovedCode moved = MovedCode(procedure, procedureName);
    TTrampoline trampoline;
    trampoline.Covered = moved.Covered;
    trampoline.Size = moved.Covered + kRelativeJumpLength * (1 + moved.ShortJumpsOut);
    trampoline.Code = static_cast<std::uint8_t*>(
        VirtualAlloc(nullptr, trampoline.Size, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
    if (!trampoline.Code)
        throw EHookingError(procedureName);
    std::memcpy(trampoline.Code, procedure, moved.Covered);
    WriteJump(trampoline.Code + moved.Covered, procedure + moved.Covered);
    RelocateBranches(moved, trampoline.Code);
    FlushInstructionCache(GetCurrentProcess(), trampoline.Code, trampoline.Size);
    return trampoline;
}

void FreeTrampoline(const TTrampoline& trampoline) {
    VirtualFree(trampoline.Code, 0, MEM_RELEASE);
}
