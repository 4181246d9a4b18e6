#include "reporter/base/file_access.h"
#include "reporter/base/path_names.h"
#include <windows.h>

namespace {

bool FolderExists(const std::string& folder) {
    DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileExists(const std::string& fileName) {
    DWORD attributes = GetFileAttributesA(fileName.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

bool ForceFolders(const std::string& folder) {
    std::string path = WithoutTrailingBackslash(folder);
    if (path.size() < 3 || FolderExists(path))
        return true;
    std::string parent = FolderOf(path);
    // A name ending in ":" is its own folder part: there is no parent to make.
    if (parent == path)
        return false;
    // Another process may create the folder between the two calls.
    return ForceFolders(parent) &&
           (CreateDirectoryA(path.c_str(), nullptr) != 0 || FolderExists(path));
}

bool IsWritableFile(const std::string& fileName) {
    bool existed = FileExists(fileName);
    // Other processes of the application may hold the file open: only writability is asked.
    HANDLE file = CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    if (!existed)
        DeleteFileA(fileName.c_str());
    return true;
}

std::string WritableLocation(const std::string& fileName, const std::string& fallbackFolder) {
    if (IsWritableFile(fileName))
        return fileName;
    ForceFolders(fallbackFolder);
    std::string moved = WithTrailingBackslash(fallbackFolder) + FileNameOf(fileName);
    return IsWritableFile(moved) ? moved : fileName;
}
