#include "reporter/diagnostics/debug_formats/module_files.h"
#include "reporter/base/binary_file.h"
#include "reporter/base/file_handle.h"
#include "reporter/base/path_names.h"
#include "runtime/exception.h"
#include "runtime/module_names.h"

std::optional<std::vector<uint8_t>> ReadModuleSibling(HMODULE module,
                                                      const std::string& extension) {
    const std::string path = ModulePath(module);
    if (path.empty())
        return std::nullopt;
    const std::string sibling = WithExtension(path, extension);
    if (GetFileAttributesA(sibling.c_str()) == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    try {
        return ReadWholeFile(sibling);
    } catch (const Exception&) {
        return std::nullopt;
    }
}

std::optional<std::vector<uint8_t>> ReadModuleFilePart(HMODULE module, uint32_t offset,
                                                       uint32_t size) {
    const std::string path = ModulePath(module);
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER fileSize{};
    if (file.Get() == INVALID_HANDLE_VALUE || !GetFileSizeEx(file.Get(), &fileSize) ||
        uint64_t(offset) + size > uint64_t(fileSize.QuadPart) ||
        SetFilePointer(file.Get(), LONG(offset), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return std::nullopt;
    std::vector<uint8_t> bytes(size);
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data(), size, &read, nullptr) || read != size)
        return std::nullopt;
    return bytes;
}
