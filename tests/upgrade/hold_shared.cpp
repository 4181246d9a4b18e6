// Keeps a file open for a while the way another program with the table open does: shared with
// readers and writers, so that only opens which want the file to themselves fail meanwhile.
//   hold_shared <file> <milliseconds>
// Prints "held" once the file is open. Exit code 0, 1 when the file cannot be opened, 2 for a
// wrong command line.
#include <cstdio>
#include <cstdlib>
#include <windows.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: hold_shared <file> <milliseconds>\n");
        return 2;
    }
    HANDLE file = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "hold_shared: cannot open %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(DWORD(std::strtoul(argv[2], nullptr, 10)));
    CloseHandle(file);
    return 0;
}
