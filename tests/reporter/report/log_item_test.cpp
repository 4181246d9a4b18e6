#include "reporter/core/report/log_item.h"
#include <gtest/gtest.h>

namespace {

TEST(TLogItem, DropsEmptyGroupsAndKeepsTheNumbersOfLeftOutFields) {
    TLogItem item;
    item.AddGroup("Application");
    item.AddField("Start Date", "today");
    item.AddField("Name", "left out", false);
    item.AddField("Version Number", "1.0");
    item.AddGroup("Exception");
    item.AddField("Date", "never", false);
    item.AddGroup("User");
    item.AddField("ID", "admin");
    item.AddGroup("Network");
    EXPECT_EQ(item.GroupNo(), 4);
    EXPECT_EQ(item.Render(), "Application:\r\n"
                             "---------------------------\r\n"
                             "  1.1 Start Date    : today\r\n"
                             "  1.3 Version Number: 1.0\r\n"
                             "\r\n"
                             "User:\r\n"
                             "---------------\r\n"
                             "  3.1 ID: admin");
}

TEST(TLogItem, NumbersGroupsOnFromItsFirstGroup) {
    TLogItem item(7);
    item.AddGroup("Custom Information");
    item.AddField("Build", "17");
    EXPECT_EQ(item.Render(), "Custom Information:\r\n---------------\r\n  8.1 Build: 17");
}

TEST(TLogItem, AlignsOnlyFieldLinesAndUnderlinesByThem) {
    TLogItem item;
    item.AddGroup("User");
    item.AddField("Privileges", "SeBackupPrivilege - ON\r\nSeDebugPrivilege - OFF");
    item.AddField("ID", "x");
    EXPECT_EQ(item.Render(), "User:\r\n"
                             "----------------------------------------\r\n"
                             "  1.1 Privileges: SeBackupPrivilege - ON\r\n"
                             " SeDebugPrivilege - OFF\r\n"
                             "  1.2 ID        : x");
}

TEST(FieldValueLines, KeepsOneLineAndMarksTheLinesOfLongerValues) {
    const struct {
        std::string value;
        std::vector<std::string> lines;
    } cases[] = {
        {"Error: table not found", {"Error: table not found"}},
        {"Error: table\r\nnot: found", {"Error:_table", " not:_found"}},
        {"unix\nline\rends", {"unix", " line", " ends"}},
        {"first\r\n   \r\nlast\r\n", {"first", " .", " last", " ."}},
        {"\r\nafter", {".", " after"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FieldValueLines(c.value), c.lines) << c.value;
}

} // namespace
