#include "mapped_file.h"
#include "reporter/base/file_handle.h"
#include <stdexcept>
#include <windows.h>

namespace {

[[noreturn]] void Fail(const char* action, const std::string& fileName) {
    throw std::runtime_error("cannot " + std::string(action) + " " + fileName + " (error " +
                             std::to_string(GetLastError()) + ")");
}

} // namespace

MappedFile::MappedFile(const std::string& fileName) {
    const FileHandle file(CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        Fail("open", fileName);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > MAXDWORD)
        Fail("read", fileName);
    if (size.QuadPart == 0)
        return;
    HANDLE mapping = CreateFileMappingA(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping == nullptr)
        Fail("map", fileName);
    view_ = static_cast<const uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    const DWORD error = GetLastError();
    CloseHandle(mapping); // the view keeps the mapping alive
    if (view_ == nullptr) {
        SetLastError(error);
        Fail("map", fileName);
    }
    size_ = size_t(size.QuadPart);
}

MappedFile::~MappedFile() {
    if (view_ != nullptr)
        UnmapViewOfFile(view_);
}
