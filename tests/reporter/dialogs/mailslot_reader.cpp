// Stands in for the development environment's end of the jump to a source line: makes the
// mailslot the crash reporter writes to when no development environment started the program,
// says so in the file "ready", waits for one record and prints it:
//   mailslot_reader <seconds>
// Output: "record <size> <first text>|<unit>|<class>|<procedure> <line> <offset> <time stamp>",
// or "none" when nothing came in time.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <windows.h>

int main(int argc, char** argv) {
    const DWORD waitMs = DWORD(argc > 1 ? std::atoi(argv[1]) : 60) * 1000;
    HANDLE slot = CreateMailslotA("\\\\.\\mailslot\\Vessarion0", 0, waitMs, nullptr);
    if (slot == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "mailslot_reader: no mailslot (%lu)\n", GetLastError());
        return 2;
    }
    if (FILE* ready = std::fopen("ready", "w"))
        std::fclose(ready);
    uint8_t record[1024] = {};
    DWORD read = 0;
    if (!ReadFile(slot, record, sizeof record, &read, nullptr)) {
        std::printf("none\n");
        return 1;
    }
    const auto text = [&](int field) { return reinterpret_cast<const char*>(record + field * 90); };
    int32_t line = 0, offset = 0;
    double stamp = 0;
    std::memcpy(&line, record + 360, 4);
    std::memcpy(&offset, record + 364, 4);
    std::memcpy(&stamp, record + 368, 8);
    std::printf("record %lu %s|%s|%s|%s %ld %ld %.6f\n", read, text(0), text(1), text(2), text(3),
                long(line), long(offset), stamp);
    return 0;
}
