// An illegal instruction without arguments, as an emulator reports a memory fault, is taken for
// the access violation that its instruction's memory operand shows, and for nothing else.
#include "reporter/core/interception/emulated_access_violation.h"
#include "reporter/core/interception/os_exception_hook.h"
#include "runtime/os_exceptions.h"
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// Memory of each kind the cases address: unreadable (never committed), read-only, read/write.
struct TPages {
    TPages() {
        reserved = static_cast<uint8_t*>(VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_NOACCESS));
        readOnly = static_cast<uint8_t*>(
            VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READONLY));
        writable = static_cast<uint8_t*>(
            VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    }
    ~TPages() {
        for (void* page : {reserved, readOnly, writable})
            VirtualFree(page, 0, MEM_RELEASE);
    }
    uint8_t* reserved;
    uint8_t* readOnly;
    uint8_t* writable;
};

enum TTarget { kNull, kReserved, kReadOnly, kWritable };

struct TCase {
    const char* Name;
    std::vector<uint8_t> Code;
    TTarget Target; // what EAX, ESI and EDI point at
    bool Recognised;
    bool Write;
    DWORD Offset; // the faulting address's distance from the target
};

DWORD Address(const TPages& pages, TTarget target) {
    switch (target) {
    case kNull:
        return 0;
    case kReserved:
        return DWORD(uintptr_t(pages.reserved));
    case kReadOnly:
        return DWORD(uintptr_t(pages.readOnly));
    default:
        return DWORD(uintptr_t(pages.writable));
    }
}

TEST(EmulatedAccessViolation, TheInstructionTellsTheAccessAndTheAddress) {
    const TPages pages;
    const TCase cases[] = {
        {"mov [eax+16], ecx", {0x89, 0x48, 0x10}, kNull, true, true, 16},
        {"mov ecx, [eax+16]", {0x8B, 0x48, 0x10}, kReserved, true, false, 16},
        {"mov ecx, [eax+ebx*4+16] (ebx 2)", {0x8B, 0x4C, 0x98, 0x10}, kReserved, true, false, 24},
        {"inc dword [eax+16]: read and written", {0xFF, 0x40, 0x10}, kReadOnly, true, true, 16},
        {"cmp [eax+16], 0: read only", {0x83, 0x78, 0x10, 0x00}, kReadOnly, false, false, 0},
        {"fstp qword [eax+16]", {0xDD, 0x58, 0x10}, kReadOnly, true, true, 16},
        {"movups [eax+16], xmm0", {0x0F, 0x11, 0x40, 0x10}, kReserved, true, true, 16},
        {"rep movsd: source unreadable", {0xF3, 0xA5}, kReserved, true, false, 0},
        {"stosb into read-only memory", {0xAA}, kReadOnly, true, true, 0},
        {"mov eax, [absolute]", {0xA1, 0x10, 0x00, 0x00, 0x00}, kNull, true, false, 16},
        {"a write it could make", {0x89, 0x48, 0x10}, kWritable, false, false, 0},
        {"lea reads nothing", {0x8D, 0x48, 0x10}, kNull, false, false, 0},
        {"fs: addresses the thread's block", {0x64, 0x8B, 0x48, 0x10}, kNull, false, false, 0},
        {"ud2 is an illegal instruction", {0x0F, 0x0B}, kNull, false, false, 0},
        {"a register operand", {0x89, 0xC8}, kNull, false, false, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<uint8_t> code = c.Code;
        code.resize(16, 0x90);
        CONTEXT context{};
        context.Eax = context.Esi = context.Edi = Address(pages, c.Target);
        context.Ebx = 2;
        EXCEPTION_RECORD record{};
        record.ExceptionCode = EXCEPTION_ILLEGAL_INSTRUCTION;
        record.ExceptionAddress = code.data();
        EXCEPTION_RECORD violation{};
        ASSERT_EQ(RecogniseEmulatedAccessViolation(record, context, violation), c.Recognised);
        if (!c.Recognised)
            continue;
        EXPECT_EQ(violation.ExceptionCode, DWORD(EXCEPTION_ACCESS_VIOLATION));
        EXPECT_EQ(violation.ExceptionAddress, code.data());
        ASSERT_EQ(violation.NumberParameters, 2u);
        EXPECT_EQ(violation.ExceptionInformation[0], c.Write ? 1u : 0u);
        EXPECT_EQ(violation.ExceptionInformation[1], Address(pages, c.Target) + c.Offset);
    }
}

TEST(EmulatedAccessViolation, OnlyAnIllegalInstructionWithoutArgumentsIsLookedAt) {
    const uint8_t code[16] = {0x89, 0x48, 0x10}; // mov [eax+16], ecx with EAX 0
    CONTEXT context{};
    EXCEPTION_RECORD record{};
    record.ExceptionAddress = const_cast<uint8_t*>(code);
    EXCEPTION_RECORD violation{};
    for (DWORD other : {DWORD(EXCEPTION_PRIV_INSTRUCTION), DWORD(EXCEPTION_ACCESS_VIOLATION)}) {
        record.ExceptionCode = other;
        EXPECT_FALSE(RecogniseEmulatedAccessViolation(record, context, violation));
    }
    record.ExceptionCode = EXCEPTION_ILLEGAL_INSTRUCTION;
    record.NumberParameters = 1;
    EXPECT_FALSE(RecogniseEmulatedAccessViolation(record, context, violation));
}

// Through the crash reporter's conversion, the object and the kept record are the violation's.
TEST(EmulatedAccessViolation, ConvertedAndKeptAsTheAccessViolation) {
    const uint8_t code[16] = {0x89, 0x48, 0x10};
    CONTEXT context{};
    EXCEPTION_RECORD record{};
    record.ExceptionCode = EXCEPTION_ILLEGAL_INSTRUCTION;
    record.ExceptionAddress = const_cast<uint8_t*>(code);
    HookOSExceptionConversion();
    std::unique_ptr<Exception> object(ExceptObjProc(&record, &context));
    const TOSExceptionState kept = LastOSException(GetCurrentThreadId());
    UnhookOSExceptionConversion();
    EXPECT_EQ(object->ClassName(), "EAccessViolation");
    EXPECT_NE(object->Message().find(". Write of address 00000010"), std::string::npos)
        << object->Message();
    EXPECT_EQ(kept.Record.ExceptionCode, DWORD(EXCEPTION_ACCESS_VIOLATION));
}

} // namespace
