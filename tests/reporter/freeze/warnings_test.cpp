// Warnings: kept as the last one, written for the debugger, shown for failed deliveries.
#include "../support/message_box_answer.h"
#include "debugger_lines.h"
#include "reporter/core/processing/warnings.h"
#include "runtime/exception.h"
#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(Warnings, KeptAsTheLastOneAndWrittenForTheDebugger) {
    const TDebuggerLines output;
    const struct {
        TVessarLogErrorCode code;
        const char* message;
        uintptr_t address;
        const char* line;
    } cases[] = {
        {eeLogError, "[Log] Disk full", 0x0040ABCD,
         "[WARNING] - Code: eeLogError - Address: 0040ABCD - Message: \"[Log] Disk full\""},
        {eeShowError, "General 'GUI' error.", 0,
         "[WARNING] - Code: eeShowError - Address: 00000000 - Message: \"General 'GUI' "
         "error.\""},
        {eeWebTrakerError, "Invalid login request.", 0x7C801234,
         "[WARNING] - Code: eeWebTrakerError - Address: 7C801234 - Message: \"Invalid login "
         "request.\""},
    };
    for (const auto& c : cases) {
        ReportWarning(c.code, c.message, reinterpret_cast<void*>(c.address));
        ASSERT_FALSE(output.Lines().empty());
        EXPECT_EQ(output.Lines().back(), c.line);
        EXPECT_EQ(LastWarning().Code, c.code);
        EXPECT_EQ(LastWarning().Message, c.message);
    }
    ClearLastWarning();
    EXPECT_EQ(LastWarning().Code, eeNone);
    EXPECT_EQ(LastWarning().Message, "");
}

TEST(Warnings, MessageNamesThePlaceAndTheFailure) {
    const Exception failure("Disk full");
    EXPECT_EQ(WarningMessage("Log", &failure), "[Log] Disk full");
    EXPECT_EQ(WarningMessage("GUI", nullptr), "General 'GUI' error.");
}

// Only failed deliveries show a box, and only when the sending code asks for it.
TEST(Warnings, BoxOnlyForFailedDeliveriesWhenAsked) {
    const TDebuggerLines output;
    const struct {
        TVessarLogErrorCode code;
        bool showBox;
        bool shown;
    } cases[] = {
        {eeEmailShellError, true, false},
        {eeEmailSMTPError, false, false},
        {eeEmailSMTPError, true, true},
        {eeWebTrakerError, true, true},
    };
    for (const auto& c : cases) {
        TMessageBoxAnswer answer("Error.", IDOK);
        ReportWarning(c.code, "Connection refused.", nullptr, c.showBox);
        EXPECT_EQ(answer.Text(), c.shown ? "Connection refused." : "") << WarningCodeName(c.code);
    }
}

} // namespace
