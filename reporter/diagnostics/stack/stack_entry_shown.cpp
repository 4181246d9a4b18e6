#include "reporter/diagnostics/stack/stack_entry_shown.h"

namespace {

constexpr uint8_t kShowProcedures = 0x01;
constexpr uint8_t kShowUnits = 0x02;

constexpr uint32_t Bit(uint8_t detail) {
    return 1u << detail;
}

bool InProgram(const TVessarDebugInfo& entry) {
    return entry.Module && entry.Module->Handle == GetModuleHandleA(nullptr);
}

} // namespace

uint32_t ShownDetails(uint8_t stackFlags) {
    uint32_t details = Bit(kDetailLine);
    if (stackFlags & kShowProcedures)
        details |= Bit(kDetailProcedure);
    if (stackFlags & kShowUnits)
        details |= Bit(kDetailUnit);
    return details;
}

bool StackEntryShown(const TVessarDebugInfo& entry, uint8_t stackFlags) {
    return entry.Detail <= kDetailLine && (ShownDetails(stackFlags) & Bit(entry.Detail)) &&
           !(entry.Detail == kDetailUnit && InProgram(entry));
}
