// The modules and processes tables' texts and rows, from fixed records.
#include "reporter/diagnostics/lists/list_rows.h"
#include "reporter/diagnostics/lists/list_text.h"
#include "reporter/diagnostics/lists/process_priority.h"
#include <gtest/gtest.h>

namespace {

TEST(ProcessPriority, BasePrioritiesMapToClassNames) {
    const struct {
        LONG base;
        const char* name;
    } cases[] = {
        {8, "Normal"},        {13, "High"},
        {24, "Real-Time"},    {4, "Low"},
        {6, "Below-Normal"},  {7, "Below-Normal"},
        {10, "Above-Normal"}, {12, "Above-Normal"},
        {23, "High"},         {0, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PriorityName(PriorityClassOfBase(c.base)), c.name) << c.base;
    EXPECT_EQ(PriorityName(0x1234), "");
}

TEST(ListText, SizesCountsAndFolders) {
    EXPECT_EQ(KilobytesText(0), "");
    EXPECT_EQ(KilobytesText(511), "0 Kb");
    EXPECT_EQ(KilobytesText(1535), "1 Kb");
    EXPECT_EQ(KilobytesText(1536), "2 Kb");
    EXPECT_EQ(CountText(0), "??");
    EXPECT_EQ(CountText(7), "7");
    EXPECT_EQ(FolderText("C:\\Windows\\system32\\kernel32.dll"), "C:\\Windows\\system32");
    EXPECT_EQ(FolderText("C:\\app.exe"), "C:\\");
    EXPECT_EQ(FolderText("\\??\\C:\\Windows\\vga.sys"), "C:\\Windows");
    EXPECT_EQ(FolderText("app.exe"), "");
}

TEST(ListRows, UnprintableCharactersOfTextColumnsBecomeQuestionMarks) {
    const auto module = std::make_shared<TVessarModuleInfo>();
    module->Handle = reinterpret_cast<HMODULE>(0x10000000);
    module->FileName = "C:\\dir\x01\\lib\x7F.dll";
    module->Description = "Bad\ttext";
    module->Version = "1.\x02";
    module->Size = 123456;
    const std::vector<std::string> moduleRow = ModuleRows({module}).at(0);
    EXPECT_EQ(moduleRow, (std::vector<std::string>{"10000000", "lib?.dll", "Bad?text", "1.?",
                                                   "123456", "", "C:\\dir?"}));

    TVessarProcessInfo process;
    process.ProcessId = 1234;
    process.FileName = "C:\\Apps\\tool\x1B.exe";
    process.Description = "Tool";
    process.Version = "2.0.0.1";
    process.PriorityClass = ABOVE_NORMAL_PRIORITY_CLASS;
    process.Memory = 1536;
    const std::vector<std::string> processRow = ProcessRows({process}).at(0);
    EXPECT_EQ(processRow, (std::vector<std::string>{"1234", "tool?.exe", "Tool", "2.0.0.1", "2 Kb",
                                                    "Above-Normal", "??", "C:\\Apps"}));
}

} // namespace
