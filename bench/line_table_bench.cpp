// The crash reporter's own line table: the build step's phases for ProfileUpgrade.exe (from the
// first link's map, options and DWARF data to the KFDATA block), the table's size and its decoded
// index's memory, and the time to look an address of this program's code up in its table.
#include "kfdata_block.h"
#include "reporter/diagnostics/debug_formats/hidden_units.h"
#include "reporter/diagnostics/debug_formats/kfdata_container.h"
#include "reporter/diagnostics/debug_formats/line_table_index.h"
#include "reporter/diagnostics/debug_formats/locate_address.h"
#include "reporter/diagnostics/debug_formats/pe_image.h"
#include "reporter/diagnostics/debug_formats/zlib_block.h"
#include "reporter/diagnostics/lists/modules_list.h"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int kAddresses = 1025;

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

constexpr int kBuildPasses = 3;

// The build step's phases over several passes, each phase timed from the end of the one before;
// the best of the passes for each phase, and the best pass as a whole.
class PhaseTimes {
  public:
    void StartPass() {
        pass_ = 0;
        passTotal_ = 0;
        last_ = Clock::now();
    }
    void Lap(const char* phase) {
        const double ms = MillisecondsSince(last_);
        if (pass_ == best_.size())
            best_.push_back({phase, ms});
        best_[pass_].second = std::min(best_[pass_].second, ms);
        ++pass_;
        passTotal_ += ms;
        last_ = Clock::now();
    }
    void EndPass() { bestPass_ = std::min(bestPass_, passTotal_); }
    void Print() const {
        for (const auto& [phase, ms] : best_)
            std::printf("  build step phase: %-66s %6.0f ms\n", phase, ms);
        std::printf("  build step in all: %.0f ms (best of %d passes)\n", bestPass_, kBuildPasses);
    }

  private:
    std::vector<std::pair<const char*, double>> best_; // phase, best time
    size_t pass_ = 0;                                  // phases of this pass so far
    double passTotal_ = 0;
    double bestPass_ = 1e300;
    Clock::time_point last_;
};

// The line table inside the data block: after its int32 length.
std::vector<uint8_t> LineTableIn(const std::vector<uint8_t>& kfdata) {
    const std::vector<uint8_t> block = ReadKFData(kfdata).DataBlock;
    return block.size() < 4 ? block : std::vector<uint8_t>(block.begin() + 4, block.end());
}

void BuildStep() {
    PhaseTimes phases;
    KFDataBlock built;
    for (int pass = 0; pass < kBuildPasses; ++pass) {
        phases.StartPass();
        built = BuildKFDataBlock(
            {PROFILE_UPGRADE_MAP, PROFILE_UPGRADE_OPTIONS, PROFILE_UPGRADE_PRELINK, ""},
            [&](const char* phase) { phases.Lap(phase); });
        phases.EndPass();
    }
    const std::vector<uint8_t> table = LineTableIn(built.Bytes);
    const size_t packed = Deflate(table).size();
    std::printf("build step of ProfileUpgrade.exe: line table %zu bytes, %zu compressed; KFDATA "
                "%zu bytes\n",
                table.size(), packed, built.Bytes.size());
    phases.Print();
    const Clock::time_point indexing = Clock::now();
    const TLineTableIndex index(table, kKFDataVersion);
    const double decode = MillisecondsSince(indexing);
    std::printf("decoded index of that table: %zu bytes in memory, %.2f times the compressed "
                "table; decoded in %.0f ms\n",
                index.MemoryBytes(), double(index.MemoryBytes()) / double(packed), decode);
}

// Spread evenly over this program's code.
std::vector<const void*> OwnCodeAddresses() {
    const HMODULE self = GetModuleHandleA(nullptr);
    const auto base = reinterpret_cast<const uint8_t*>(self);
    const std::optional<TPEImage> image = ReadPEImage(self);
    std::vector<const void*> addresses;
    for (const auto& s : image->Sections) {
        if (!(s.Characteristics & IMAGE_SCN_MEM_EXECUTE))
            continue;
        for (int k = 0; k < kAddresses; ++k)
            addresses.push_back(base + s.VirtualAddress +
                                uint64_t(s.Misc.VirtualSize) * k / kAddresses);
        break;
    }
    return addresses;
}

// The crash reporter's own units are shown for once, so that each address found in the table
// counts, and which of them are its own is told apart.
void Lookups() {
    const std::vector<const void*> addresses = OwnCodeAddresses();
    const Clock::time_point first = Clock::now();
    const TModuleRef self = ModulesList().ModuleOf(GetModuleHandleA(nullptr));
    const double describe = MillisecondsSince(first);
    SetReportingOwnFailure(true);
    int withLine = 0, reporterCode = 0;
    double fastest = 1e300;
    for (int pass = 0; pass < 3; ++pass) {
        withLine = reporterCode = 0;
        const Clock::time_point start = Clock::now();
        for (const void* address : addresses) {
            TVessarDebugInfo info;
            LocateAddress(address, info);
            withLine += info.Detail == kDetailLine;
            reporterCode += IsHiddenUnit(info.Unit);
        }
        fastest = std::min(fastest, MillisecondsSince(start));
    }
    SetReportingOwnFailure(false);
    std::printf("lookups in this program's line table (%zu bytes): %zu addresses, %.1f us each "
                "(module described once in %.0f ms); %d with a line (%d of them in crash "
                "reporter code), %d without\n",
                self->LineTable.size(), addresses.size(), fastest * 1000 / double(addresses.size()),
                describe, withLine, reporterCode, int(addresses.size()) - withLine);
}

} // namespace

int main() {
    BuildStep();
    Lookups();
    return 0;
}
