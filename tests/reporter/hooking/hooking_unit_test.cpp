#include "machine_code.h"
#include "reporter/core/interception/hooking/hooking_unit.h"
#include "reporter/core/interception/hooking/import_hooks.h"
#include "reporter/core/interception/hooking/procedure_hooks.h"
#include "reporter/core/interception/hooking/virtual_method_hooks.h"
#include "test_program.h"
#include <gtest/gtest.h>

// Outside the anonymous namespace, so that calls go through the table (see the virtual-method
// tests).
class TCounter {
  public:
    virtual int Count() const { return 1; }
    virtual ~TCounter() = default;
};

// Calls of the executable go through this import entry.
extern "C" void* ImportedGetCurrentProcessId __asm__("__imp__GetCurrentProcessId@0");

namespace {

DWORD WINAPI FakeProcessId() {
    return 1;
}

int Replacement() {
    return 0;
}

TEST(HookingUnit, ShutDownTakesBackEveryKindOfPatch) {
    const TMachineCode procedure({0xB8, 0x07, 0x00, 0x00, 0x00, 0xC3}); // mov eax, 7; ret
    const std::vector<std::uint8_t> procedureBytes = procedure.Bytes();
    void* const importEntry = ImportedGetCurrentProcessId;
    const TCounter counter;
    void** table = *reinterpret_cast<void** const*>(&counter);
    void* const slot = table[0];

    HookProcedure(procedure.Code(), reinterpret_cast<void*>(Replacement), "Procedure");
    HookImport({ExecutablePath()}, "kernel32.dll", "GetCurrentProcessId",
               reinterpret_cast<void*>(FakeProcessId), true, nullptr);
    HookVirtualMethod(table, 0, reinterpret_cast<void*>(Replacement));

    HookingUnit.Finalization();
    EXPECT_EQ(procedure.Bytes(), procedureBytes);
    EXPECT_EQ(ImportedGetCurrentProcessId, importEntry);
    EXPECT_EQ(table[0], slot);
}

} // namespace
