// The crash reporter's report of its own failures: its diagnostic text, and that it shows only
// to a developer.
#include "../support/debugger_attached.h"
#include "../support/message_box_answer.h"
#include "../support/unavailable_system_paths.h"
#include "debugger_lines.h"
#include "reporter/core/processing/internal_error.h"
#include "reporter/core/processing/internal_error_text.h"
#include "runtime/exception.h"
#include "runtime/format.h"
#include "runtime/module_names.h"
#include "stack_fixture.h"
#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(InternalErrorText, OneCaptionedLinePerFact) {
    TInternalErrorFacts facts;
    facts.Date = "Tue, 5 Mar 2024 14:03:09 +0100";
    facts.OperatingSystem = "Windows 6.1 build 7601";
    facts.BuildTool = "GCC 12-posix";
    facts.Dump = {0x8B, 0x45, 0x08, 0xFF};
    facts.Section = "7";
    facts.ProcessedClass = "EDBEngineError";
    facts.Location = EntryWithLine();
    facts.FailureClass = "EAccessViolation";
    facts.Message = "Access violation";
    facts.CallStack = StackOf({EntryWithLine(), EntryWithoutLine()});
    EXPECT_EQ(InternalErrorText(facts),
              "Version   : 6.0.24\r\n"
              "Date      : Tue, 5 Mar 2024 14:03:09 +0100\r\n"
              "OS        : Windows 6.1 build 7601\r\n"
              "RAD       : GCC 12-posix\r\n"
              "Dump      : $8B $45 $08 $FF \r\n"
              "Section   : 7\r\n"
              "LastExcept: EDBEngineError\r\n"
              "Address   : $00401234 - [00400000] app.exe - main.cpp - TForm1 - Button1Click - "
              "42[3]\r\n"
              "Exception : EAccessViolation\r\n"
              "Message   : Access violation\r\n"
              "Call Stack: 00 $00401234 - [00400000] app.exe - main.cpp - TForm1 - Button1Click "
              "- 42[3]\r\n"
              "            01 $00405678 - [00400000] app.exe \r\n");
}

// Stands for the code that failed: its bytes are what the dump shows.
const uint8_t kFailedCode[32] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A,
                                 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15,
                                 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F};
constexpr char kAskCaption[] = "Probably internal bug";

// The socket client's failure, as it will be named.
class EVessarSocketError : public Exception {
  public:
    using Exception::Exception;
};

std::string ReadText(const std::string& fileName) {
    std::string text;
    if (FILE* file = std::fopen(fileName.c_str(), "rb")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            text.append(buffer, n);
        std::fclose(file);
    }
    return text;
}

// The text file goes beside the test program, which can be written there.
class InternalErrorPath : public ::testing::Test {
  protected:
    void SetUp() override { DeleteFileA(fileName_.c_str()); }
    void TearDown() override { DeleteFileA(fileName_.c_str()); }

    // Reports `failure` raised by the runtime just behind the call at kFailedCode; the text of
    // the box that asked to mail it, which is answered No.
    std::string Report(const std::exception& failure) {
        TMessageBoxAnswer answer(kAskCaption, IDNO);
        ReportInternalError("7", &failure, kFailedCode + 5, true, "EDBEngineError");
        return answer.Text();
    }

    bool Saved() const { return GetFileAttributesA(fileName_.c_str()) != INVALID_FILE_ATTRIBUTES; }
    std::string SavedText() const { return ReadText(fileName_); }

    const TDebuggerLines output_;

  private:
    const std::string fileName_ =
        ModulePath(nullptr).substr(0, ModulePath(nullptr).rfind('.')) + ".log";
};

TEST_F(InternalErrorPath, LeavesNoTraceWithoutADeveloperToLook) {
    EXPECT_EQ(Report(Exception("broken")), "");
    EXPECT_TRUE(output_.Lines().empty());
    EXPECT_FALSE(Saved());
}

// The dump is read in process: the system's cross-process read is not needed.
TEST_F(InternalErrorPath, ShowsADeveloperTheLineTheTextAndTheOfferToMail) {
    const TDebuggerAttached debugger;
    const TUnavailableSystemPaths unavailable;
    EXPECT_EQ(Report(Exception("broken")),
              "Error: 'broken'\r\n\r\nThis is an internal Vessarion bug.\r\nDo you want to send "
              "the bug information to Vessarion author?");
    const std::string address = Format("%08X", unsigned(reinterpret_cast<uintptr_t>(kFailedCode)));
    EXPECT_EQ(output_.Lines(), std::vector<std::string>{"[ERROR] - Section: 7 - Address: " +
                                                        address + " - Message: \"broken\""});
    const std::string text = SavedText();
    EXPECT_EQ(text.rfind("Version   : 6.0.24\r\nDate      : ", 0), 0u) << text;
    const std::string location =
        Format("$%8.8x - [%8.8x] %s - ", unsigned(uintptr_t(kFailedCode)),
               unsigned(uintptr_t(GetModuleHandleA(nullptr))), ModuleFileName(nullptr).c_str());
    for (const std::string& line :
         {std::string("\r\nDump      : $00 $01 $02 $03 $04 $05 $06 $07 $08 $09 $0A $0B $0C $0D $0E "
                      "$0F $10 $11 $12 $13 $14 $15 $16 $17 $18 $19 $1A $1B $1C $1D $1E $1F \r\n"),
          std::string("\r\nSection   : 7\r\nLastExcept: EDBEngineError\r\nAddress   : ") + location,
          std::string("\r\nException : Exception\r\nMessage   : broken\r\nCall Stack: 00 ") +
              location.substr(0, location.size() - 2)})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\nin:\n" << text;
}

TEST_F(InternalErrorPath, AbortsAndSocketFailuresAreNoFaultsOfTheCrashReporter) {
    const TDebuggerAttached debugger;
    EXPECT_EQ(Report(EAbort()), "");
    EXPECT_EQ(Report(EVessarSocketError("Connection error")), "");
    EXPECT_TRUE(output_.Lines().empty());
    EXPECT_FALSE(Saved());
}

} // namespace
