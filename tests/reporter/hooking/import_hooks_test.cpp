#include "reporter/core/interception/hooking/hooking_errors.h"
#include "reporter/core/interception/hooking/import_hooks.h"
#include "test_program.h"
#include <cstring>
#include <gtest/gtest.h>

// The executable's import address table entry that its calls of GetTickCount go through.
extern "C" void* ImportedGetTickCount __asm__("__imp__GetTickCount@0");

namespace {

constexpr DWORD kFakeTicks = 0x12345678;

DWORD WINAPI FakeTickCount() {
    return kFakeTicks;
}

// Reads the import entry anew at each call: the compiler takes it for a constant within a function.
[[gnu::noipa]] DWORD TicksThroughImport() {
    return GetTickCount();
}

// The executable's whole import address table, to see that nothing in it changed.
std::vector<void*> ImportAddressTable() {
    const auto base = reinterpret_cast<const std::uint8_t*>(GetModuleHandleA(nullptr));
    const auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
    const auto first = reinterpret_cast<void* const*>(base + table.VirtualAddress);
    return {first, first + table.Size / sizeof(void*)};
}

void* Exported(const char* module, const char* procedure) {
    return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(module), procedure));
}

TEST(HookImport, CallsThroughTheImportTableReachTheReplacementUntilRestored) {
    void* previous = nullptr;
    ASSERT_TRUE(HookImport({"not-loaded.dll", ExecutablePath()}, "kernel32.dll", "GetTickCount",
                           reinterpret_cast<void*>(FakeTickCount), true, &previous));
    EXPECT_EQ(previous, Exported("kernel32.dll", "GetTickCount"));
    EXPECT_EQ(TicksThroughImport(), kFakeTicks);
    EXPECT_EQ(ImportedGetTickCount, reinterpret_cast<void*>(FakeTickCount));

    RestoreAllImports();
    EXPECT_EQ(ImportedGetTickCount, previous);
    EXPECT_NE(TicksThroughImport(), kFakeTicks);
}

// The executable imports nothing from ntdll.dll, and from kernel32.dll not this procedure.
TEST(HookImport, WithoutAMatchingEntryTheModuleStaysUnchanged) {
    const struct {
        const char* ExportingModule;
        const char* Procedure;
        const char* Message;
    } cases[] = {
        {"ntdll.dll", "NtClose", "Cannot hook the procedure \"ntdll.dll.NtClose\"."},
        {"kernel32.dll", "GetCurrentProcessorNumber",
         "Cannot hook the procedure \"kernel32.dll.GetCurrentProcessorNumber\"."},
    };
    const std::vector<void*> table = ImportAddressTable();
    for (const auto& item : cases) {
        void* previous = nullptr;
        EXPECT_FALSE(HookImport({ExecutablePath()}, item.ExportingModule, item.Procedure,
                                reinterpret_cast<void*>(FakeTickCount), false, &previous));
        EXPECT_EQ(previous, Exported(item.ExportingModule, item.Procedure));
        try {
            HookImport({ExecutablePath()}, item.ExportingModule, item.Procedure,
                       reinterpret_cast<void*>(FakeTickCount), true, &previous);
            ADD_FAILURE() << item.Procedure << " hooked";
        } catch (const EHookingError& error) {
            EXPECT_STREQ(error.what(), item.Message);
        }
        EXPECT_EQ(ImportAddressTable(), table) << item.Procedure;
    }
}

TEST(HookImport, UnknownProcedureIsANullProcedure) {
    void* previous = &previous;
    try {
        HookImport({ExecutablePath()}, "kernel32.dll", "NoSuchProcedure",
                   reinterpret_cast<void*>(FakeTickCount), false, &previous);
        FAIL() << "hooked a procedure that does not exist";
    } catch (const EProcNull& error) {
        EXPECT_STREQ(error.what(),
                     "Cannot hook a null procedure (\"kernel32.dll.NoSuchProcedure\").");
    }
    EXPECT_EQ(previous, nullptr);
}

} // namespace
