#include "reporter/base/binary_file.h"
#include "reporter/base/file_handle.h"
#include "runtime/exception.h"
#include "runtime/format.h"
#include <windows.h>

namespace {

[[noreturn]] void RaiseFileError(const char* action, const std::string& fileName) {
    throw Exception(
        Format("Cannot %s file \"%s\" (error %lu).", action, fileName.c_str(), GetLastError()));
}

FileHandle OpenFile(const std::string& fileName, DWORD access, DWORD sharing, DWORD disposition,
                    const char* action) {
    HANDLE handle = CreateFileA(fileName.c_str(), access, sharing, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        RaiseFileError(action, fileName);
    return FileHandle(handle);
}

} // namespace

std::vector<uint8_t> ReadWholeFile(const std::string& fileName) {
    FileHandle file = OpenFile(fileName, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, "open");
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > MAXDWORD)
        RaiseFileError("read", fileName);
    std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data(), DWORD(bytes.size()), &read, nullptr))
        RaiseFileError("read", fileName);
    bytes.resize(read);
    return bytes;
}

void WriteNewFile(const std::string& fileName, const std::vector<uint8_t>& bytes) {
    FileHandle file = OpenFile(fileName, GENERIC_WRITE, 0, CREATE_ALWAYS, "create");
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        RaiseFileError("write", fileName);
}
