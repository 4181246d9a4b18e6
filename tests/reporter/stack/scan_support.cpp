#include "tests/reporter/stack/scan_support.h"
#include "reporter/core/options/reporter_options_unit.h"
#include "runtime/format.h"
#include <gtest/gtest.h>

namespace {

constexpr uint8_t kNop = 0x90;

// A scan that looks addresses up asks whether the host is the development environment.
class ReporterOptionsStarted : public ::testing::Environment {
    void SetUp() override { InitializeUnits({&ReporterOptionsUnit}); }
    void TearDown() override { FinalizeUnits(); }
};

[[maybe_unused]] auto* const started =
    ::testing::AddGlobalTestEnvironment(new ReporterOptionsStarted);

} // namespace

TPages::TPages(size_t bytes, DWORD protection)
    : base_(VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, protection)), size_(bytes) {}

TPages::~TPages() {
    VirtualFree(base_, 0, MEM_RELEASE);
}

void TPages::Protect(size_t firstPage, size_t pages, DWORD protection) {
    constexpr size_t kPage = 4096;
    DWORD old = 0;
    VirtualProtect(reinterpret_cast<void*>(At(firstPage * kPage)), pages * kPage, protection, &old);
}

uintptr_t TCode::Before(size_t end, std::vector<uint8_t> bytes) {
    constexpr size_t kPadding = 8;
    bytes.insert(bytes.begin(), kPadding, kNop);
    std::copy(bytes.begin(), bytes.end(), reinterpret_cast<uint8_t*>(At(end - bytes.size())));
    return At(end);
}

std::vector<uint8_t> TCode::CallTo(size_t end, uintptr_t target) const {
    return WithWord({0xE8}, uint32_t(target - At(end)));
}

std::vector<uint8_t> WithWord(std::vector<uint8_t> bytes, uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(uint8_t(word >> shift));
    return bytes;
}

void TStackImage::Set(size_t wordIndex, uintptr_t word) {
    reinterpret_cast<uint32_t*>(At(0))[wordIndex] = uint32_t(word);
}

void TStackImage::Fill(std::initializer_list<uintptr_t> words) {
    size_t index = 0;
    for (uintptr_t word : words)
        Set(index++, word);
}

void TFakeLookup::Name(uintptr_t address, uint8_t detail, const char* procedure, int procLine,
                       uintptr_t module) {
    modules_.push_back(std::make_shared<TVessarModuleInfo>());
    modules_.back()->Handle = reinterpret_cast<HMODULE>(module);
    TVessarDebugInfo& info = names_[address];
    info.Detail = detail;
    info.Module = modules_.back();
    info.Unit = "scan.cpp";
    info.Procedure = procedure;
    info.ProcLine = procLine;
    info.Line = 100 + procLine;
}

bool TFakeLookup::Locate(const void* address, TVessarDebugInfo& info) const {
    const auto named = names_.find(reinterpret_cast<uintptr_t>(address));
    if (named != names_.end())
        info = named->second;
    info.Addr = uint32_t(reinterpret_cast<uintptr_t>(address));
    return named != names_.end();
}

TStackScanParams TFakeLookup::Params() const {
    TStackScanParams params;
    params.Locate = [this](const void* address, TVessarDebugInfo& info) {
        return Locate(address, info);
    };
    return params;
}

std::vector<uintptr_t> Addresses(const TVessarStackList& list) {
    std::vector<uintptr_t> addresses;
    for (size_t i = 0; i < list.Count(); ++i)
        addresses.push_back(list[i].Addr);
    return addresses;
}

std::vector<std::string> AddressesAndDetails(const TVessarStackList& list) {
    std::vector<std::string> entries;
    for (size_t i = 0; i < list.Count(); ++i)
        entries.push_back(Format("%08X:%d", unsigned(list[i].Addr), int(list[i].Detail)));
    return entries;
}
