// How engine statuses and error stacks become EDBEngineError messages and entries.
#include "tables/engine_error.h"
#include <gtest/gtest.h>
#include <map>

namespace {

struct StackEntry {
    DBIResult code;
    int32_t native;
    std::string context;
};

class FakeEngine : public TEngineErrorSource {
  public:
    FakeEngine(bool started, std::vector<StackEntry> stack, DBIResult afterLast)
        : started_(started), stack_(std::move(stack)), afterLast_(afterLast) {}

    bool SessionStarted() const override { return started_; }
    std::string ErrorText(DBIResult status) const override {
        static const std::map<DBIResult, std::string> texts = {
            {0x2801, "Table is in use by another user or program."},
            {0x2E01, "Unknown database alias."},
            {0x2E03, "Table does not exist."},
            {0x2EC4, "Server error."},
            {0x2F01, "Interface version mismatch."},
        };
        auto it = texts.find(status);
        return it == texts.end() ? std::string() : it->second;
    }
    DBIResult ErrorEntry(uint16_t number, int32_t& native, std::string& context) const override {
        if (number > stack_.size())
            return afterLast_;
        const StackEntry& entry = stack_[number - 1u];
        native = entry.native;
        context = entry.context;
        return entry.code;
    }

  private:
    bool started_;
    std::vector<StackEntry> stack_;
    DBIResult afterLast_;
};

struct ReportCase {
    const char* name;
    bool started;
    DBIResult status;
    std::vector<StackEntry> stack;
    DBIResult afterLast;
    const char* message;
    std::vector<DBIResult> codes;
};

const ReportCase kCases[] = {
    {"StatusTextThenContext",
     true,
     0x2E03,
     {{0x2E03, 0, "File: C:\\data\\Missing.DB"}},
     0,
     "Table does not exist.\r\nFile: C:\\data\\Missing.DB",
     {0x2E03, 0x2E03}},
    {"RepeatedTextOnce",
     true,
     0x2801,
     {{0x2801, 0, "File: T.DB"}, {0x2801, 0, "File: T.DB"}},
     0,
     "Table is in use by another user or program.\r\nFile: T.DB",
     {0x2801, 0x2801, 0x2801}},
    {"EmptyTextsSkippedContextsTrimmed",
     true,
     0x2109,
     {{0x2109, 0, "   "}, {0x2E01, 0, "  Alias: NOALIAS \t"}},
     0,
     "Unknown database alias.\r\nAlias: NOALIAS",
     {0x2109, 0x2109, 0x2E01}},
    {"NativeCodeKeepsEntryTextOut",
     true,
     0x2E01,
     {{0x2E03, 17, "Server says no"}},
     0,
     "Unknown database alias.\r\nServer says no",
     {0x2E01, 0x2E03}},
    {"ServerErrorShowsContextsOnly",
     true,
     0x2EC4,
     {{0x2EC4, 0, "Deadlock found"}, {0x2E03, 0, "ORA-00942"}},
     0,
     "Deadlock found\r\nORA-00942",
     {0x2EC4, 0x2EC4, 0x2E03}},
    {"StackEndsAtEntryNotFound",
     true,
     0x2E03,
     {{0x2E03, 0, "File: T.DB"}},
     0x2A06,
     "Table does not exist.\r\nFile: T.DB",
     {0x2E03, 0x2E03}},
    {"NothingToSay", true, 0x2109, {}, 0, "CDE error $2109", {0x2109}},
    {"HighHalfOfEveryResultIgnored",
     true,
     0xABCD2E03,
     {{0xFFFF2E03, 0, "File: T.DB"}},
     0x12342A06,
     "Table does not exist.\r\nFile: T.DB",
     {0x2E03, 0x2E03}},
    {"EngineNotStarted",
     false,
     0x2108,
     {{0x2E03, 0, "ignored"}},
     0,
     "An error occurred while attempting to initialize the Corvane Database Engine (error $2108)",
     {0x2108}},
    {"InterfaceVersionAlthoughNotStarted",
     false,
     0x2F01,
     {},
     0,
     "Interface version mismatch.",
     {0x2F01}},
};

class EngineErrorReport : public ::testing::TestWithParam<ReportCase> {};

TEST_P(EngineErrorReport, MessageAndEntries) {
    const ReportCase& c = GetParam();
    EDBEngineError error(
        BuildEngineErrorReport(c.status, FakeEngine(c.started, c.stack, c.afterLast)));
    EXPECT_EQ(error.Message(), c.message);
    std::vector<DBIResult> codes;
    for (int i = 0; i < error.ErrorCount(); ++i)
        codes.push_back(error.Errors(i).ErrorCode);
    EXPECT_EQ(codes, c.codes);
}

INSTANTIATE_TEST_SUITE_P(Cases, EngineErrorReport, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CheckStatus, SuccessWhateverTheHighHalfHolds) {
    EXPECT_NO_THROW(CheckStatus(0xFFFF0000));
}

TEST(EngineErrorEntries, CarryStatusTextThenEachContextWithItsNativeCode) {
    TEngineErrorReport report =
        BuildEngineErrorReport(0x2E01, FakeEngine(true, {{0x2E03, 17, " Server says no "}}, 0));
    ASSERT_EQ(report.Errors.size(), 2u);
    EXPECT_EQ(report.Errors[0].Message, "Unknown database alias.");
    EXPECT_EQ(report.Errors[0].NativeError, 0);
    EXPECT_EQ(report.Errors[1].NativeError, 17);
    EXPECT_EQ(report.Errors[1].Message, " Server says no ");
}

} // namespace
