#include "test_folder.h"
#include <windows.h>

namespace {

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

TestFolder::TestFolder() {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    for (unsigned attempt = 0;; ++attempt) {
        path_ = std::string(base) + "test_" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(attempt);
        if (CreateDirectoryA(path_.c_str(), nullptr))
            return;
    }
}

TestFolder::~TestFolder() {
    RemoveTree(path_);
}

CurrentDirectory::CurrentDirectory(const std::string& folder) {
    char saved[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, saved);
    saved_ = saved;
    SetCurrentDirectoryA(folder.c_str());
}

CurrentDirectory::~CurrentDirectory() {
    SetCurrentDirectoryA(saved_.c_str());
}
