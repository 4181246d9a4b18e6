#include "reporter/core/options/shared_options.h"
#include "runtime/format.h"
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace {

constexpr size_t kSizeFieldBytes = 4;
constexpr size_t kHeaderBytes = kSizeFieldBytes + 1;
constexpr uint8_t kOptionsPresent = 1;

using UniqueHandle = std::unique_ptr<void, decltype(&CloseHandle)>;

// A view of a whole mapping, unmapped when it goes.
class MappedView {
  public:
    MappedView(HANDLE mapping, DWORD access)
        : bytes_(static_cast<uint8_t*>(MapViewOfFile(mapping, access, 0, 0, 0))) {
        MEMORY_BASIC_INFORMATION info{};
        if (bytes_ != nullptr && VirtualQuery(bytes_, &info, sizeof info) == sizeof info)
            size_ = info.RegionSize;
    }
    ~MappedView() {
        if (bytes_ != nullptr)
            UnmapViewOfFile(bytes_);
    }
    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;

    // True when the view exists and has room for the header.
    bool HoldsHeader() const { return size_ >= kHeaderBytes; }
    uint8_t* Bytes() const { return bytes_; }
    // The bytes of the mapping, as far as the system maps them: what a size field must fit.
    size_t Size() const { return size_; }

  private:
    uint8_t* bytes_;
    size_t size_ = 0;
};

// A mapping this code holds open, with one view of it for as long: every notification of a
// report reads the copy, and mapping it anew each time costs more than the reading.
class HeldMapping {
  public:
    explicit HeldMapping(HANDLE mapping) : handle_(mapping, &CloseHandle) {}

    // The view, mapped again when it could not be mapped before; null when the system refuses.
    const MappedView* View() {
        if (!view_ || !view_->HoldsHeader())
            view_.emplace(handle_.get(), FILE_MAP_WRITE);
        return view_->HoldsHeader() ? &*view_ : nullptr;
    }

  private:
    UniqueHandle handle_;
    std::optional<MappedView> view_; // unmapped before the handle closes
};

// The mappings this code holds open, by module.
struct HeldMappings {
    std::mutex lock;
    std::map<HMODULE, std::unique_ptr<HeldMapping>> byModule;
};

HeldMappings& Held() {
    static HeldMappings held;
    return held;
}

uint8_t& OptionsFlag(const MappedView& view) {
    return view.Bytes()[kSizeFieldBytes];
}

void StoreUsableSize(const MappedView& view, uint32_t size) {
    std::memcpy(view.Bytes(), &size, sizeof size);
}

uint32_t UsableSize(const MappedView& view) {
    uint32_t size = 0;
    std::memcpy(&size, view.Bytes(), sizeof size);
    return size;
}

void MarkWithoutOptions(const MappedView& view) {
    OptionsFlag(view) = 0;
    StoreUsableSize(view, 1);
}

void WriteOptions(const MappedView& view, const std::vector<uint8_t>& block) {
    // Readers see no options while the block changes under them.
    MarkWithoutOptions(view);
    if (block.size() > view.Size() - kHeaderBytes)
        return;
    std::memcpy(view.Bytes() + kHeaderBytes, block.data(), block.size());
    StoreUsableSize(view, static_cast<uint32_t>(1 + block.size()));
    OptionsFlag(view) = kOptionsPresent;
}

std::vector<uint8_t> PublishedBlock(const MappedView& view) {
    if (!view.HoldsHeader() || OptionsFlag(view) != kOptionsPresent)
        return {};
    uint32_t usable = UsableSize(view);
    if (usable < 1 || usable > view.Size() - kSizeFieldBytes)
        return {};
    const uint8_t* block = view.Bytes() + kHeaderBytes;
    return {block, block + (usable - 1)};
}

// Creates the mapping of `module`, or opens it when another module of the process already
// made it; a new one starts without options. Null when the system refuses.
HANDLE CreateMapping(HMODULE module) {
    std::string name = SharedOptionsName(GetCurrentProcessId(), module);
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        kSharedOptionsCapacity, name.c_str());
    if (mapping != nullptr && GetLastError() != ERROR_ALREADY_EXISTS) {
        MappedView view(mapping, FILE_MAP_WRITE);
        if (view.HoldsHeader())
            MarkWithoutOptions(view);
    }
    return mapping;
}

// Call with the lock of `held` taken. Null when the system refuses.
HeldMapping* HeldMappingOf(HeldMappings& held, HMODULE module) {
    auto found = held.byModule.find(module);
    if (found != held.byModule.end())
        return found->second.get();
    HANDLE mapping = CreateMapping(module);
    if (mapping == nullptr)
        return nullptr;
    return held.byModule.emplace(module, std::make_unique<HeldMapping>(mapping))
        .first->second.get();
}

} // namespace

std::string SharedOptionsName(DWORD processId, HMODULE module) {
    return Format("%08X%08X", static_cast<unsigned>(processId),
                  static_cast<unsigned>(reinterpret_cast<uintptr_t>(module)));
}

void CreateSharedOptions(HMODULE module) {
    HeldMappings& held = Held();
    std::lock_guard guard(held.lock);
    HeldMappingOf(held, module);
}

void PublishSharedOptions(HMODULE module, const std::vector<uint8_t>& block) {
    HeldMappings& held = Held();
    std::lock_guard guard(held.lock);
    HeldMapping* mapping = HeldMappingOf(held, module);
    if (const MappedView* view = mapping ? mapping->View() : nullptr)
        WriteOptions(*view, block);
}

std::vector<uint8_t> ReadSharedOptions(HMODULE module) {
    HeldMappings& held = Held();
    // Also keeps this code's own publisher from changing the block while it is copied.
    std::lock_guard guard(held.lock);
    auto found = held.byModule.find(module);
    if (found != held.byModule.end())
        if (const MappedView* view = found->second->View())
            return PublishedBlock(*view);
    std::string name = SharedOptionsName(GetCurrentProcessId(), module);
    UniqueHandle mapping(OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str()), &CloseHandle);
    if (mapping == nullptr)
        return {};
    MappedView view(mapping.get(), FILE_MAP_READ);
    return PublishedBlock(view);
}

void RemoveSharedOptions(HMODULE module) {
    HeldMappings& held = Held();
    std::lock_guard guard(held.lock);
    auto found = held.byModule.find(module);
    if (found == held.byModule.end())
        return;
    held.byModule.erase(found);
}
