#include "reporter/core/options/variable_expansion.h"
#include <gtest/gtest.h>
#include <windows.h>

namespace {

std::string TodayInShortFormat() {
    char date[128] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof date);
    return date;
}

std::string CurrentFolder() {
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

TEST(VariableExpansion, ReplacesReferencesAndLeavesOtherPercentSigns) {
    SetEnvironmentVariableA("VESSAR_EXPAND_TEST", "value");
    SetEnvironmentVariableA("VESSAR_MISSING", nullptr);
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"%VESSAR_EXPAND_TEST%", "value"},
        {"a%vessar_expand_test%b%VESSAR_EXPAND_TEST%", "avaluebvalue"},
        {"[%VESSAR_MISSING%]", "[]"},
        {"100 % sure", "100 % sure"},
        {"50%", "50%"},
        {"%%", "%%"},
        {"%%VESSAR_EXPAND_TEST%", "%value"},
        {"%not-a-name%", "%not-a-name%"},
        {"%VESSAR_EXPAND_TEST", "%VESSAR_EXPAND_TEST"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExpandVariables(c.text), c.expected) << c.text;
}

TEST(VariableExpansion, DateTimeAndFolderComeFromTheSystemUnlessTheEnvironmentNamesThem) {
    SetEnvironmentVariableA("date", nullptr);
    SetEnvironmentVariableA("cd", "");
    EXPECT_EQ(ExpandVariables("%date%"), TodayInShortFormat());
    EXPECT_EQ(ExpandVariables("%CD%"), CurrentFolder());
    EXPECT_FALSE(ExpandVariables("%Time%").empty());

    SetEnvironmentVariableA("time", "from the environment");
    EXPECT_EQ(ExpandVariables("%TIME%"), "from the environment");
    SetEnvironmentVariableA("time", nullptr);
}

} // namespace
