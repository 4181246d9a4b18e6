// The clean-up after a scan, on lists made by hand: repeated addresses, stale frames, and what
// the development environment leaves out.
#include "reporter/diagnostics/stack/stack_cleanup.h"
#include <functional>
#include <gtest/gtest.h>

namespace {

// One entry: an address in module 1 or 2, its procedure and line offset, and its stack.
struct TRow {
    uint32_t Addr;
    uint8_t Detail;
    const char* Procedure = "P";
    int ProcLine = 1;
    int Module = 1;
    DWORD Thread = 1;
    bool Running = true;
};

class CleanUp : public ::testing::Test {
  protected:
    TVessarStackList List(const std::vector<TRow>& rows) {
        TVessarStackList list;
        for (const TRow& row : rows) {
            auto entry = std::make_unique<TVessarDebugInfo>();
            entry->Addr = row.Addr;
            entry->Detail = row.Detail;
            entry->Module = modules[row.Module - 1];
            entry->Unit = "unit.cpp";
            entry->Procedure = row.Procedure;
            entry->ProcLine = row.ProcLine;
            entry->Line = 10 + row.ProcLine;
            entry->ThreadId = row.Thread;
            entry->RunningThread = row.Running;
            list.Add(std::move(entry));
        }
        return list;
    }
    std::vector<int> Details(const std::vector<TRow>& rows, size_t firstAppended) {
        TVessarStackList list = List(rows);
        CleanUpStack(list, firstAppended, false);
        std::vector<int> details;
        for (size_t i = 0; i < list.Count(); ++i)
            details.push_back(list[i].Detail);
        return details;
    }

    void SetUp() override {
        for (auto& module : modules)
            module = std::make_shared<TVessarModuleInfo>();
        modules[0]->Handle = reinterpret_cast<HMODULE>(0x400000);
        modules[1]->Handle = reinterpret_cast<HMODULE>(0x10000000);
    }

    std::shared_ptr<TVessarModuleInfo> modules[2];
};

struct TCase {
    const char* Name;
    std::vector<TRow> Rows;
    size_t FirstAppended;
    std::vector<int> Details; // after the clean-up; 0 = marked
};

void Check(const std::vector<TCase>& cases,
           const std::function<std::vector<int>(const TCase&)>& cleanUp) {
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(cleanUp(c), c.Details);
    }
}

TEST_F(CleanUp, RepeatedAddressesShowOnce) {
    Check(
        {
            {"adjacent", {{0x10, 4}, {0x10, 4}}, 0, {0, 4}},
            {"with procedures and units", {{0x10, 2}, {0x10, 3}}, 0, {0, 3}},
            {"in another module", {{0x10, 4}, {0x10, 4, "P", 1, 2}}, 0, {4, 4}},
            {"module only", {{0x10, 1}, {0x10, 1}}, 0, {1, 1}},
            {"the one after the next", {{0x10, 4}, {0x20, 4}, {0x10, 4}}, 0, {0, 4, 4}},
            {"further on", {{0x10, 4}, {0x20, 4}, {0x30, 4}, {0x10, 4}}, 0, {4, 4, 4, 4}},
            {"past other modules and unnamed entries",
             {{0x10, 4}, {0x20, 4, "P", 1, 2}, {0x30, 1}, {0x10, 4}},
             0,
             {0, 4, 1, 4}},
            // Marking from the end makes pairs of entry point and call collapse together.
            {"pairs", {{0x10, 4}, {0x20, 4}, {0x10, 4}, {0x20, 4}}, 0, {0, 0, 4, 4}},
            {"an earlier scan's entries stay", {{0x10, 4}, {0x10, 4}, {0x10, 4}}, 1, {4, 0, 4}},
        },
        [&](const TCase& c) { return Details(c.Rows, c.FirstAppended); });
}

TEST_F(CleanUp, FramesBetweenAPositionAndItsProceduresEntryAreStale) {
    const TRow entryOfE{0x100, 4, "E", 0};
    Check(
        {
            {"inside E, then stale frames",
             {{0x110, 4, "E", 3}, {0x500, 4, "X"}, {0x600, 3, "Y"}, entryOfE},
             0,
             {4, 0, 0, 4}},
            {"nothing in between", {{0x110, 4, "E", 3}, entryOfE}, 0, {4, 4}},
            {"entry points on the way are passed",
             {{0x110, 4, "E", 3}, {0x101, 4, "E", 0}, {0x500, 4, "X"}, entryOfE},
             0,
             {4, 0, 0, 4}},
            {"the walk runs out at the first entry",
             {{0x500, 4, "X"}, {0x600, 4, "Y"}, entryOfE},
             0,
             {4, 4, 4}},
            {"the walk stops at another thread",
             {{0x500, 4, "X", 1, 1, 2}, {0x600, 4, "Y"}, {0x700, 4, "Z"}, entryOfE},
             1,
             {4, 0, 0, 4}},
            {"the walk stops at a creation snapshot",
             {{0x500, 4, "X", 1, 1, 1, false}, {0x600, 4, "Y"}, entryOfE},
             1,
             {4, 0, 4}},
            {"a procedure entered without a line is no entry point",
             {{0x110, 4, "E", 3}, {0x500, 4, "X"}, {0x100, 3, "E", 0}},
             0,
             {4, 4, 3}},
        },
        [&](const TCase& c) { return Details(c.Rows, c.FirstAppended); });
}

TEST_F(CleanUp, TheDevelopmentEnvironmentKeepsNamedEntriesOfThisScanOnly) {
    TVessarStackList list = List({{0x10, 1},
                                  {0x20, 4},
                                  {0x30, 1},
                                  {0x40, 0},
                                  {0x50, 3, "TApplication.HandleException"},
                                  {0x60, 2},
                                  {0x70, 3}});
    CleanUpStack(list, 2, true);
    std::vector<uint32_t> kept;
    for (size_t i = 0; i < list.Count(); ++i)
        kept.push_back(list[i].Addr);
    EXPECT_EQ(kept, (std::vector<uint32_t>{0x10, 0x20, 0x60, 0x70}));
}

} // namespace
