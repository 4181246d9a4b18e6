// Packs files as a report's attachments are packed, for the shell tests to read back:
//   pack_files <archive> <password, "-" for none> [--lock <file>] <file>...
// A locked file is held open without sharing while the others are packed; each file left out
// is printed on a line "left out: <file>".
#include "reporter/send/report_packing.h"
#include <cstdio>
#include <cstring>
#include <windows.h>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: pack_files <archive> <password|-> [--lock <file>] <file>...\n");
        return 2;
    }
    HANDLE lock = INVALID_HANDLE_VALUE;
    std::vector<std::string> files;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--lock") == 0 && i + 1 < argc) {
            lock = CreateFileA(argv[++i], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            files.push_back(argv[i]);
        } else {
            files.push_back(argv[i]);
        }
    }
    const std::string password = std::strcmp(argv[2], "-") == 0 ? "" : argv[2];
    for (const std::string& file : PackFiles(argv[1], password, files))
        std::printf("left out: %s\n", file.c_str());
    if (lock != INVALID_HANDLE_VALUE)
        CloseHandle(lock);
    return 0;
}
