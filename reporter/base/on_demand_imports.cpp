// The system libraries that only the crash reporter's reports, messages and dialogs use (windows,
// graphics, security and registry, version resources, common controls, the shell) bound on a
// procedure's first call instead of when the program loads: loading them costs every start, the
// window and graphics libraries a few hundred milliseconds under an emulated Wine, and the crash
// reporter needs them only once it shows or describes an exception.
//
// Callers call a system procedure through its import slot, "__imp__<name>@<argument bytes>", or,
// where the system's header does not mark it as imported, through a jump "_<name>@<argument
// bytes>" to that slot. Both are defined below for the procedures listed here, so the linker
// takes no import entry for them from the system's import libraries; each slot starts at a stub
// that loads the library, finds the procedure, stores it in the slot and jumps on to it with the
// caller's arguments untouched. A procedure of these libraries that is not listed is imported at
// load as before.
#include <windows.h>

namespace {

// What a procedure missing at load time would have stopped the program with, as the system's
// own delayed loading reports it.
constexpr DWORD kLibraryMissing = 0xC06D007E;
constexpr DWORD kProcedureMissing = 0xC06D007F;

} // namespace

// `names` holds the library's and the procedure's name. Called from the stubs only.
extern "C" void* __stdcall ResolveOnDemandImport(void** slot, const char* const* names) {
    const HMODULE library = LoadLibraryA(names[0]);
    if (library == nullptr)
        RaiseException(kLibraryMissing, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    void* procedure = reinterpret_cast<void*>(GetProcAddress(library, names[1]));
    if (procedure == nullptr)
        RaiseException(kProcedureMissing, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    InterlockedExchangePointer(slot, procedure);
    return procedure;
}

#define ON_DEMAND_LIBRARY(library)                                                                 \
    asm(".section .rdata\n"                                                                        \
        "on_demand_library_" #library ": .asciz \"" #library ".dll\"\n")

// The stub pushes the procedure's names and slot, and the resolver, which pops them, leaves the
// stack as the caller left it.
#define ON_DEMAND_IMPORT(library, name, argumentBytes)                                             \
    asm(".section .rdata\n"                                                                        \
        "on_demand_name_" #name ": .asciz \"" #name "\"\n"                                         \
        "on_demand_names_" #name ": .long on_demand_library_" #library ", on_demand_name_" #name   \
        "\n"                                                                                       \
        ".data\n"                                                                                  \
        ".globl __imp__" #name "@" #argumentBytes "\n"                                             \
        "__imp__" #name "@" #argumentBytes ": .long on_demand_stub_" #name "\n"                    \
        ".text\n"                                                                                  \
        ".globl _" #name "@" #argumentBytes "\n"                                                   \
        "_" #name "@" #argumentBytes ":\n"                                                         \
        "    jmp *__imp__" #name "@" #argumentBytes "\n"                                           \
        "on_demand_stub_" #name ":\n"                                                              \
        "    pushl $on_demand_names_" #name "\n"                                                   \
        "    pushl $__imp__" #name "@" #argumentBytes "\n"                                         \
        "    call _ResolveOnDemandImport@8\n"                                                      \
        "    jmp *%eax\n")

ON_DEMAND_LIBRARY(user32);
ON_DEMAND_IMPORT(user32, DefWindowProcA, 16);
ON_DEMAND_IMPORT(user32, DispatchMessageA, 4);
ON_DEMAND_IMPORT(user32, DrawIconEx, 36);
ON_DEMAND_IMPORT(user32, EnumWindows, 8);
ON_DEMAND_IMPORT(user32, FrameRect, 12);
ON_DEMAND_IMPORT(user32, GetClassNameA, 12);
ON_DEMAND_IMPORT(user32, GetDC, 4);
ON_DEMAND_IMPORT(user32, GetDesktopWindow, 0);
ON_DEMAND_IMPORT(user32, GetForegroundWindow, 0);
ON_DEMAND_IMPORT(user32, GetGUIThreadInfo, 8);
ON_DEMAND_IMPORT(user32, GetIconInfo, 8);
ON_DEMAND_IMPORT(user32, GetSystemMetrics, 4);
ON_DEMAND_IMPORT(user32, GetWindow, 8);
ON_DEMAND_IMPORT(user32, GetWindowDC, 4);
ON_DEMAND_IMPORT(user32, GetWindowLongA, 8);
ON_DEMAND_IMPORT(user32, GetWindowRect, 8);
ON_DEMAND_IMPORT(user32, GetWindowThreadProcessId, 8);
ON_DEMAND_IMPORT(user32, InflateRect, 12);
ON_DEMAND_IMPORT(user32, IntersectRect, 12);
ON_DEMAND_IMPORT(user32, IsIconic, 4);
ON_DEMAND_IMPORT(user32, IsRectEmpty, 4);
ON_DEMAND_IMPORT(user32, IsWindowUnicode, 4);
ON_DEMAND_IMPORT(user32, IsWindowVisible, 4);
ON_DEMAND_IMPORT(user32, MessageBeep, 4);
ON_DEMAND_IMPORT(user32, MessageBoxA, 16);
ON_DEMAND_IMPORT(user32, OffsetRect, 12);
ON_DEMAND_IMPORT(user32, PeekMessageA, 20);
ON_DEMAND_IMPORT(user32, ReleaseDC, 8);
ON_DEMAND_IMPORT(user32, SendMessageTimeoutA, 28);
ON_DEMAND_IMPORT(user32, SetForegroundWindow, 4);
ON_DEMAND_IMPORT(user32, ShowWindowAsync, 8);
ON_DEMAND_IMPORT(user32, TranslateMessage, 4);
ON_DEMAND_IMPORT(user32, UnionRect, 12);

ON_DEMAND_LIBRARY(gdi32);
ON_DEMAND_IMPORT(gdi32, BitBlt, 36);
ON_DEMAND_IMPORT(gdi32, CreateCompatibleBitmap, 12);
ON_DEMAND_IMPORT(gdi32, CreateCompatibleDC, 4);
ON_DEMAND_IMPORT(gdi32, CreatePalette, 4);
ON_DEMAND_IMPORT(gdi32, CreateSolidBrush, 4);
ON_DEMAND_IMPORT(gdi32, DeleteDC, 4);
ON_DEMAND_IMPORT(gdi32, DeleteObject, 4);
ON_DEMAND_IMPORT(gdi32, GetDeviceCaps, 8);
ON_DEMAND_IMPORT(gdi32, GetDIBits, 28);
ON_DEMAND_IMPORT(gdi32, GetSystemPaletteEntries, 16);
ON_DEMAND_IMPORT(gdi32, RealizePalette, 4);
ON_DEMAND_IMPORT(gdi32, SelectObject, 8);
ON_DEMAND_IMPORT(gdi32, SelectPalette, 12);
ON_DEMAND_IMPORT(gdi32, TranslateCharsetInfo, 12);

ON_DEMAND_LIBRARY(advapi32);
ON_DEMAND_IMPORT(advapi32, GetTokenInformation, 20);
ON_DEMAND_IMPORT(advapi32, GetUserNameA, 8);
ON_DEMAND_IMPORT(advapi32, LookupPrivilegeNameA, 16);
ON_DEMAND_IMPORT(advapi32, OpenProcessToken, 12);
ON_DEMAND_IMPORT(advapi32, RegCloseKey, 4);
ON_DEMAND_IMPORT(advapi32, RegEnumKeyExA, 32);
ON_DEMAND_IMPORT(advapi32, RegOpenKeyExA, 20);
ON_DEMAND_IMPORT(advapi32, RegQueryValueExA, 24);

ON_DEMAND_LIBRARY(version);
ON_DEMAND_IMPORT(version, GetFileVersionInfoA, 16);
ON_DEMAND_IMPORT(version, GetFileVersionInfoSizeA, 8);
ON_DEMAND_IMPORT(version, VerQueryValueA, 16);

ON_DEMAND_LIBRARY(comctl32);
ON_DEMAND_IMPORT(comctl32, ImageList_AddMasked, 12);
ON_DEMAND_IMPORT(comctl32, ImageList_Create, 20);
ON_DEMAND_IMPORT(comctl32, ImageList_Destroy, 4);
ON_DEMAND_IMPORT(comctl32, ImageList_Draw, 24);
ON_DEMAND_IMPORT(comctl32, InitCommonControlsEx, 4);

ON_DEMAND_LIBRARY(msimg32);
ON_DEMAND_IMPORT(msimg32, TransparentBlt, 44);

ON_DEMAND_LIBRARY(shell32);
ON_DEMAND_IMPORT(shell32, ShellExecuteA, 24);
