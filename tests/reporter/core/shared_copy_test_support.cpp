#include "shared_copy_test_support.h"
#include "reporter/core/options/shared_options.h"
#include <cstring>
#include <stdexcept>

namespace {

constexpr size_t kHeaderBytes = 5;

// Runs `use` on the first bytes of the copy of `module`.
template <typename Use> void WithHeaderBytes(HMODULE module, Use use) {
    std::string name = SharedOptionsName(GetCurrentProcessId(), module);
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
    if (mapping == nullptr)
        throw std::runtime_error("no shared copy " + name);
    void* bytes = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, kHeaderBytes);
    if (bytes != nullptr) {
        use(static_cast<uint8_t*>(bytes));
        UnmapViewOfFile(bytes);
    }
    CloseHandle(mapping);
    if (bytes == nullptr)
        throw std::runtime_error("cannot map shared copy " + name);
}

} // namespace

SharedHeader ReadSharedHeader(HMODULE module) {
    SharedHeader header{};
    WithHeaderBytes(module, [&](uint8_t* bytes) {
        std::memcpy(&header.usableSize, bytes, 4);
        header.flag = bytes[4];
    });
    return header;
}

void WriteSharedHeader(HMODULE module, SharedHeader header) {
    WithHeaderBytes(module, [&](uint8_t* bytes) {
        std::memcpy(bytes, &header.usableSize, 4);
        bytes[4] = header.flag;
    });
}
