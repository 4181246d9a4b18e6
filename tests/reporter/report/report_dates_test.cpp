#include "reporter/core/report/report_dates.h"
#include <gtest/gtest.h>

namespace {

TCalendarTime Time(int year, int month, int day, int hour, int minute, int second) {
    return {year, month, day, hour, minute, second};
}

TEST(FormatReportDate, WritesEnglishNamesAndTheWholeHourZone) {
    const struct {
        TCalendarTime local;
        int zoneHours;
        const char* expected;
    } cases[] = {
        {Time(2025, 3, 4, 9, 5, 7), 1, "Tue, 4 Mar 2025 09:05:07 +0100"},
        {Time(2024, 12, 29, 23, 59, 59), -5, "Sun, 29 Dec 2024 23:59:59 -0500"},
        {Time(2024, 2, 29, 0, 0, 0), 0, "Thu, 29 Feb 2024 00:00:00 +0000"},
        {Time(2023, 1, 1, 12, 30, 0), 10, "Sun, 1 Jan 2023 12:30:00 +1000"},
        {Time(2023, 7, 15, 6, 0, 0), -11, "Sat, 15 Jul 2023 06:00:00 -1100"},
        {Time(1601, 1, 1, 0, 0, 0), 0, "Mon, 1 Jan 1601 00:00:00 +0000"},
        {Time(2000, 2, 29, 1, 2, 3), 2, "Tue, 29 Feb 2000 01:02:03 +0200"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatReportDate(c.local, c.zoneHours), c.expected);
}

TEST(FormatDuration, NamesOnlyTheUnitsItCountsButAlwaysSeconds) {
    const struct {
        double seconds;
        const char* expected;
    } cases[] = {
        {90061, "1 day, 1 hour, 1 minute, 1 second"},
        {59, "59 seconds"},
        {0, "0 second"},
        {2 * 86400 + 3 * 60 + 5, "2 days, 3 minutes, 5 seconds"},
        {7200, "2 hours, 0 second"},
        {0.4, "0 second"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDuration(c.seconds / 86400), c.expected) << c.seconds;
}

} // namespace
