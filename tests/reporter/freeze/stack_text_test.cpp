// Call stacks as the crash reporter's report of its own failures writes them.
#include "reporter/diagnostics/stack/stack_text.h"
#include "stack_fixture.h"
#include <gtest/gtest.h>

namespace {

TEST(StackText, OneAddressNamesModuleUnitClassProcedureAndLine) {
    const struct {
        TVessarDebugInfo entry;
        const char* text;
    } cases[] = {
        {EntryWithLine(),
         "$00401234 - [00400000] app.exe - main.cpp - TForm1 - Button1Click - 42[3]"},
        {EntryWithoutLine(), "$00405678 - [00400000] app.exe -  -  -  - 0[0]"},
        {EntryOutsideModules(), "$7c801234 - [00000000]  -  -  -  - 0[0]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StackEntryText(c.entry), c.text);
}

TEST(StackText, ListHasOneLinePerEntryIndentedBehindTheCaption) {
    const auto list = StackOf({EntryWithLine(), EntryWithoutLine(), EntryOutsideModules()});
    EXPECT_EQ(StackListText(*list),
              "00 $00401234 - [00400000] app.exe - main.cpp - TForm1 - Button1Click - 42[3]\r\n"
              "            01 $00405678 - [00400000] app.exe \r\n"
              "            02 $7c801234 - [00000000]  \r\n");
}

TEST(StackText, EntriesAreNumberedInHexadecimal) {
    auto list = StackOf({});
    for (int i = 0; i < 11; ++i)
        list->Add(std::make_unique<TVessarDebugInfo>(EntryWithoutLine()));
    const std::string text = StackListText(*list);
    EXPECT_NE(text.find("\r\n            0A $00405678"), std::string::npos) << text;
    EXPECT_EQ(text.find("10 $"), std::string::npos) << text;
}

} // namespace
