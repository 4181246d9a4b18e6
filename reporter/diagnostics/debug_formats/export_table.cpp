#include "reporter/diagnostics/debug_formats/export_table.h"
#include "reporter/base/readable_memory.h"
#include "reporter/diagnostics/debug_formats/module_stream.h"
#include "reporter/diagnostics/debug_formats/pe_image.h"
#include <cstring>

namespace {

constexpr uint32_t kMaxNameLength = 4096;
// Thunks lead to thunks only a few times; more is a loop.
constexpr int kMaxThunks = 8;

// "jmp [slot]" leads to the address stored in the slot.
const void* ThunkTarget(const void* code) {
    uint8_t bytes[6];
    const void* target = nullptr;
    if (!IsReadableMemory(code, sizeof bytes))
        return code;
    std::memcpy(bytes, code, sizeof bytes);
    if (bytes[0] != 0xFF || bytes[1] != 0x25)
        return code;
    uintptr_t slot = 0;
    std::memcpy(&slot, bytes + 2, sizeof slot);
    if (!IsReadableMemory(reinterpret_cast<const void*>(slot), sizeof target))
        return code;
    std::memcpy(&target, reinterpret_cast<const void*>(slot), sizeof target);
    return target;
}

const void* CodeStart(const void* address) {
    for (int i = 0; i < kMaxThunks; ++i) {
        const void* next = ThunkTarget(address);
        if (next == address)
            break;
        address = next;
    }
    return address;
}

class TExportReader {
  public:
    TExportReader(HMODULE module, const TPEImage& image)
        : module_(module), directory_(image.Directory(IMAGE_DIRECTORY_ENTRY_EXPORT)),
          stream_(module, image.Headers.OptionalHeader.SizeOfImage) {}

    std::vector<TVessarFunctionInfo> Read() {
        std::vector<TVessarFunctionInfo> functions;
        IMAGE_EXPORT_DIRECTORY exports{};
        std::vector<uint32_t> names;
        std::vector<uint16_t> ordinals;
        if (directory_.VirtualAddress == 0 || !ReadAt(directory_.VirtualAddress, exports) ||
            !ReadArrayAt(exports.AddressOfNames, exports.NumberOfNames, names) ||
            !ReadArrayAt(exports.AddressOfNameOrdinals, exports.NumberOfNames, ordinals) ||
            !ReadArrayAt(exports.AddressOfFunctions, exports.NumberOfFunctions, addresses_))
            return functions;
        for (size_t i = 0; i < names.size(); ++i)
            Add(names[i], ordinals[i], functions);
        return functions;
    }

  private:
    template <class T> bool ReadAt(uint32_t position, T& value) {
        stream_.Seek(position);
        return stream_.ReadValue(value);
    }
    template <class T> bool ReadArrayAt(uint32_t position, uint32_t count, std::vector<T>& values) {
        stream_.Seek(position);
        return stream_.ReadArray(count, values);
    }

    void Add(uint32_t nameAt, uint16_t ordinal, std::vector<TVessarFunctionInfo>& functions) {
        std::string name;
        stream_.Seek(nameAt);
        if (ordinal >= addresses_.size() || addresses_[ordinal] == 0 ||
            !stream_.ReadText(name, kMaxNameLength))
            return;
        const void* address = Address(addresses_[ordinal], name);
        if (address)
            functions.emplace_back(std::move(name), CodeStart(address));
    }

    // An address inside the export directory is the text of a forwarder ("DLL.Name").
    const void* Address(uint32_t rva, const std::string& name) const {
        if (rva - directory_.VirtualAddress < directory_.Size)
            return reinterpret_cast<const void*>(
                reinterpret_cast<uintptr_t>(GetProcAddress(module_, name.c_str())));
        return reinterpret_cast<const uint8_t*>(module_) + rva;
    }

    HMODULE module_;
    IMAGE_DATA_DIRECTORY directory_;
    THModuleStream stream_;
    std::vector<uint32_t> addresses_;
};

} // namespace

std::vector<TVessarFunctionInfo> ReadExportTable(HMODULE module) {
    const std::optional<TPEImage> image = ReadPEImage(module);
    return image ? TExportReader(module, *image).Read() : std::vector<TVessarFunctionInfo>{};
}
