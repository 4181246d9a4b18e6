// Writes the profile database in its old layout with many rows a table, in seconds where
// mkprofiledb takes many minutes under emulation, for the tests that kill the upgrade:
//   profile_database_maker <folder> <rows>
#include "profile_database.h"
#include "status.h"
#include <cstdio>
#include <cstdlib>
#include <windows.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: profile_database_maker <folder> <rows>\n");
        return 2;
    }
    CreateDirectoryA(argv[1], nullptr);
    try {
        BuildProfileDatabase(argv[1], unsigned(std::atol(argv[2])));
    } catch (const pdx::EngineError& e) {
        std::fprintf(stderr, "error 0x%04X: %s\n", unsigned(e.code), e.context.c_str());
        return 1;
    }
    return 0;
}
