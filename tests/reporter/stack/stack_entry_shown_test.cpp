// Which entries the call-stack view shows, by Detail, the StackFlags option and module.
#include "reporter/diagnostics/stack/stack_entry_shown.h"
#include <gtest/gtest.h>

namespace {

TEST(StackEntryShown, ByDetailOptionAndModule) {
    const auto program = std::make_shared<TVessarModuleInfo>();
    const auto library = std::make_shared<TVessarModuleInfo>();
    program->Handle = GetModuleHandleA(nullptr);
    library->Handle = GetModuleHandleA("kernel32.dll");
    const struct {
        uint8_t Detail;
        TModuleRef Module;
        uint8_t StackFlags;
        bool Shown;
    } cases[] = {
        {kDetailLine, program, 0x00, true},      {kDetailProcedure, library, 0x00, false},
        {kDetailProcedure, library, 0x01, true}, {kDetailProcedure, program, 0x01, true},
        {kDetailUnit, library, 0x01, false},     {kDetailUnit, library, 0x02, true},
        {kDetailUnit, program, 0x03, false},     {kDetailModule, library, 0xFF, false},
        {kDetailNothing, nullptr, 0xFF, false},  {7, library, 0xFF, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.Detail) << " with " << int(c.StackFlags));
        TVessarDebugInfo entry;
        entry.Detail = c.Detail;
        entry.Module = c.Module;
        EXPECT_EQ(StackEntryShown(entry, c.StackFlags), c.Shown);
    }
    EXPECT_EQ(ShownDetails(0x00), 16u);
    EXPECT_EQ(ShownDetails(0x01), 20u);
    EXPECT_EQ(ShownDetails(0x03), 28u);
}

} // namespace
