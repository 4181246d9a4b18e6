#include "test_program.h"
#include <windows.h>

std::string ExecutablePath() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}
