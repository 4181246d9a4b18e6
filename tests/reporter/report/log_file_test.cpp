#include "file_bytes.h"
#include "report_fixture.h"
#include "reporter/base/binary_file.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/report/log_file.h"
#include "reporter/core/report/log_operations.h"
#include "reporter/core/report/log_text.h"
#include "runtime/exception.h"
#include "runtime/format.h"
#include "test_folder.h"
#include <gtest/gtest.h>

namespace {

void WriteFileBytes(const std::string& fileName, const std::string& bytes) {
    WriteNewFile(fileName, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

std::string WithoutCr(std::string text) {
    std::erase(text, '\r');
    return text;
}

// Options whose log is `fileName`.
struct LogOptions : TestOptions {
    explicit LogOptions(const std::string& fileName) { SetLogPath(fileName); }
};

// Reports are kept as added (the report and three empty lines) and written each with one more
// line end, except the last.
TEST(SaveReportToLog, KeepsTheLatestReportsEachFollowedByThreeEmptyLinesOrMore) {
    TestFolder folder;
    LogOptions options(folder.File("app.elf"));
    options.SetLogMaxReports(32);
    std::string expected;
    for (int i = 1; i <= 33; ++i) {
        const std::string report = SampleReport(options, Format("%04X", i));
        SaveReportToLog(options, report, false);
        if (i > 2)
            expected += "\r\n";
        if (i > 1)
            expected += report + kReportEnd;
    }
    EXPECT_EQ(FileBytes(folder.File("app.elf")), expected);
    const TLogFile log(folder.File("app.elf"));
    EXPECT_EQ(log.Count(), 32);
    EXPECT_EQ(log.FieldValue("2.7", 0), "0002");
    EXPECT_EQ(log.FieldValue("2.7", 31), "0021");
}

TEST(SaveReportToLog, SendsTheWholeLogOnlyWhenAskedAndSkipsDuplicates) {
    TestFolder folder;
    LogOptions options(folder.File("app.elf"));
    const std::string first = SampleReport(options, "0001");
    EXPECT_EQ(SaveReportToLog(options, first, false), first);
    options.SetSendFlags(SendFlag::WholeLog);
    const std::string second = SampleReport(options, "0002");
    EXPECT_EQ(SaveReportToLog(options, second, false),
              first + kReportEnd + "\r\n" + second + kReportEnd);
    EXPECT_EQ(SaveReportToLog(options, second, true), second);
    EXPECT_EQ(TLogFile(folder.File("app.elf")).Count(), 2) << "a duplicate is not added";

    options.SetSaveLog(false);
    EXPECT_EQ(SaveReportToLog(options, first, false).size(), 3 * (first.size() + 6) + 2 * 2);
    EXPECT_EQ(TLogFile(folder.File("app.elf")).Count(), 2) << "nothing written without SaveLog";
}

TEST(TLogFile, ReadsALineFeedOnlyFileAsCrLf) {
    TestFolder folder;
    const TestOptions options;
    const std::string text = SampleReport(options, "0001") + kReportEnd + "\r\n" +
                             SampleReport(options, "0002") + kReportEnd;
    WriteFileBytes(folder.File("unix.elf"), WithoutCr(text));
    const TLogFile log(folder.File("unix.elf"));
    ASSERT_EQ(log.Count(), 2);
    EXPECT_EQ(log.Text(), text);
    EXPECT_EQ(log.FieldValue("2.7", 1), "0002");
}

// Read back and written again, a log is the same bytes; a log with only three empty lines
// between its reports (as earlier versions wrote them) reads the same reports.
TEST(TLogFile, ReadBackAndWrittenAgainKeepsItsSeparators) {
    TestFolder folder;
    const TestOptions options;
    const std::string first = SampleReport(options, "0001");
    const std::string second = SampleReport(options, "0002");
    const std::string written = first + kReportEnd + "\r\n" + second + kReportEnd;
    for (const std::string& stored : {written, first + kReportEnd + second + kReportEnd}) {
        WriteFileBytes(folder.File("app.elf"), stored);
        {
            TLogFile log(folder.File("app.elf"));
            ASSERT_EQ(log.Count(), 2);
            EXPECT_EQ(log.Report(0), first + kReportEnd);
            EXPECT_EQ(log.Report(1), second + kReportEnd);
            log.Save();
        }
        EXPECT_EQ(FileBytes(folder.File("app.elf")), written);
    }
}

// A report reads back the log the one before wrote. Whatever was added, the log read back
// holds what its file splits into, and the next save writes what a full rewrite would.
TEST(TLogFile, ReadBackAfterASaveHoldsWhatItsFileSplitsInto) {
    TestFolder folder;
    const std::string fileName = folder.File("app.elf");
    const TestOptions options;
    const std::string report = SampleReport(options, "0001");
    const std::string next = SampleReport(options, "0002");
    const struct {
        const char* name;
        std::string report;
    } cases[] = {
        {"plain", report},
        {"line feeds only", WithoutCr(report)},
        {"no table", report.substr(0, report.find("-\r\n|"))},
        {"two reports in one", report + "\r\n\r\n\r\n\r\n" + next},
        {"empty lines first", "\r\n\r\n" + report},
    };
    for (const auto& c : cases) {
        WriteFileBytes(fileName, next + kReportEnd);
        {
            TLogFile log(fileName);
            log.Add(c.report, 32);
            log.Save();
        }
        std::vector<std::string> expected = SplitLogText(FileBytes(fileName));
        TLogFile log(fileName);
        ASSERT_EQ(log.Count(), int(expected.size())) << c.name;
        for (int i = 0; i < log.Count(); ++i)
            EXPECT_TRUE(log.Report(i) == expected[size_t(i)]) << c.name << ", report " << i;
        log.Add(next, 32);
        log.Save();
        expected.push_back(next + kReportEnd);
        EXPECT_TRUE(FileBytes(fileName) == JoinLogText(expected)) << c.name;
    }
}

TEST(TLogFile, DropsDamagedTextButNeverTheNewReport) {
    TestFolder folder;
    const TestOptions options;
    std::string garbage;
    for (int i = 0; i < 256; ++i)
        garbage += char(i);
    const std::string kept = SampleReport(options, "0001");
    const std::string report = SampleReport(options, "0002");
    const std::string cut = report.substr(0, report.find("-\r\n|") + 10);
    const std::string added = SampleReport(options, "0003");
    const struct {
        std::string contents;
        std::string expected;
    } cases[] = {
        {garbage, added + kReportEnd},
        {garbage + "\r\n\r\n\r\n\r\n" + kept + kReportEnd + "\r\n" + cut,
         kept + kReportEnd + "\r\n" + cut + "\r\n" + kReportEnd + "\r\n" + added + kReportEnd},
        {kept.substr(0, 200), added + kReportEnd},
    };
    for (const auto& c : cases) {
        WriteFileBytes(folder.File("damaged.elf"), c.contents);
        {
            TLogFile log(folder.File("damaged.elf"));
            log.Add(added, 32);
            log.Save();
        }
        EXPECT_EQ(FileBytes(folder.File("damaged.elf")), c.expected);
    }
}

TEST(TLogFile, CountsAFileItCannotOpenAsEmptyAndFailsToSaveIt) {
    TestFolder folder;
    const std::string fileName = folder.File("locked.elf");
    const std::string report = SampleReport(TestOptions(), "0001");
    WriteFileBytes(fileName, report + kReportEnd);
    HANDLE holder = CreateFileA(fileName.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    {
        TLogFile log(fileName);
        EXPECT_EQ(log.Count(), 0);
        log.Add(report, 32);
        EXPECT_THROW(log.Save(), Exception);
    }
    CloseHandle(holder);
    EXPECT_EQ(FileBytes(fileName), report + kReportEnd);
}

TEST(CountDuplicateReport, RaisesTheCountAndAddsItsLineWhenTheReportHasNone) {
    TestFolder folder;
    LogOptions options(folder.File("app.elf"));
    options.SetLogFlags(options.Stored().LogFlags | LogFlag::CountDuplicates);
    options.SetReportFields(options.Stored().ReportFields & ~(uint64_t(1) << 13));
    SaveReportToLog(options, SampleReport(options, "AAAA"), false);
    SaveReportToLog(options, SampleReport(options, "BBBB"), false);

    EXPECT_TRUE(CountDuplicateReport(options, "AAAA"));
    TLogFile once(folder.File("app.elf"));
    EXPECT_NE(once.Report(0).find("  2.10 Note         : \r\n"
                                  "  2.8 Count         : 2\r\n"
                                  "\r\n"
                                  "User:"),
              std::string::npos)
        << once.Report(0);
    EXPECT_EQ(once.FieldValue("2.8", 1), "") << "the other report stays as it is";

    EXPECT_TRUE(CountDuplicateReport(options, "AAAA"));
    EXPECT_EQ(TLogFile(folder.File("app.elf")).FieldValue("2.8", 0), "3");
    EXPECT_FALSE(CountDuplicateReport(options, "CCCC"));
    options.SetLogFlags(options.Stored().LogFlags & ~LogFlag::CountDuplicates);
    EXPECT_FALSE(CountDuplicateReport(options, "AAAA"));
}

TEST(TLogFile, FindsTheLastReportWhoseFieldHoldsTheValue) {
    TestFolder folder;
    const TestOptions options;
    TLogFile log(folder.File("app.elf"));
    for (const char* id : {"AAAA", "BBBB", "AAAA"})
        log.Add(SampleReport(options, id), -1);
    EXPECT_EQ(log.Find({"2.7"}, {"AAAA"}), 2);
    EXPECT_EQ(log.Find({"2.7"}, {"CCCC"}), -1);
    EXPECT_EQ(log.Find({"2.7", "2.6"}, {"CCCC", "Table not found."}), 2);

    log.SetFieldValue("2.6", "first: line\nsecond line", 1, "Message");
    EXPECT_EQ(log.FieldValue("2.6", 1), "first:_line\r\nsecond line");
    EXPECT_EQ(log.Find({"2.6"}, {"first: line\r\nsecond line"}), 1);
    EXPECT_EQ(log.FieldValue("2.7", 1), "BBBB") << "the value ends before the next field";

    const std::string before = log.Report(0);
    log.SetFieldValue("12.1", "x", 0, "Nothing");
    EXPECT_EQ(log.Report(0), before) << "no such group";
}

TEST(DeleteLogOfOtherVersion, DeletesTheLogOfAnotherVersionWhenAsked) {
    const struct {
        uint8_t logFlags;
        std::string version;
        bool deleted;
    } cases[] = {
        {0x30 | LogFlag::DeleteOnOtherVersion, "1.0.0.7", false},
        {0x30 | LogFlag::DeleteOnOtherVersion, "1.0.0.8", true},
        {0x30, "1.0.0.8", false},
    };
    for (const auto& c : cases) {
        TestFolder folder;
        LogOptions options(folder.File("app.elf"));
        SaveReportToLog(options, SampleReport(options, "0001"), false);
        options.SetLogFlags(c.logFlags);
        EXPECT_EQ(DeleteLogOfOtherVersion(options, c.version), c.deleted) << c.version;
        EXPECT_EQ(GetFileAttributesA(folder.File("app.elf").c_str()) == INVALID_FILE_ATTRIBUTES,
                  c.deleted);
    }
}

} // namespace
