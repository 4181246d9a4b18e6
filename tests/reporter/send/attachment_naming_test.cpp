// The names files are sent under, and the archives kept after a failed delivery.
#include "reporter/core/options/option_flags.h"
#include "reporter/send/attachment_name.h"
#include "reporter/send/kept_archives.h"
#include "test_folder.h"
#include <fstream>
#include <gtest/gtest.h>

namespace {

TAttachmentNaming Naming(uint16_t flags, const std::string& computer = "OFFICE7") {
    TAttachmentNaming naming;
    naming.SendFlags = flags;
    naming.ComputerName = computer;
    naming.ExceptionTime = {2024, 1, 3, 31, 17, 45, 2, 0};
    return naming;
}

TEST(AttachmentName, CarriesComputerAndTimeAsTheFlagsAsk) {
    using namespace SendFlag;
    struct Case {
        const char* path;
        uint16_t flags;
        const char* computer;
        const char* name;
    } cases[] = {
        {"C:\\Temp\\BugReport.zip", 0, "OFFICE7", "BugReport.zip"},
        {"C:\\Temp\\BugReport.zip", ComputerNameInFileNames, "OFFICE7", "BugReport__OFFICE7.zip"},
        {"C:\\Temp\\BugReport.zip", ExceptionTimeInFileNames, "OFFICE7",
         "BugReport__20240131174502.zip"},
        {"C:\\Temp\\BugReport.zip", ComputerNameInFileNames | ExceptionTimeInFileNames, "OFFICE7",
         "BugReport__OFFICE7__20240131174502.zip"},
        {"C:\\Temp\\Screenshot.png", ComputerNameInFileNames, "ACCOUNTING-DEPT-PC-2",
         "Screenshot__ACCOUNTING-DEPT.png"},
        {"C:\\Temp\\README", ExceptionTimeInFileNames, "OFFICE7", "README__20240131174502"},
        {"C:\\Logs.d\\app.log.xml", ComputerNameInFileNames, "OFFICE7", "app.log__OFFICE7.xml"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AttachmentName(c.path, Naming(c.flags, c.computer)), c.name) << c.path;
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Kept archives made a minute apart, oldest first.
void KeepArchives(const TestFolder& logs, int count, const std::string& naming) {
    FILETIME time{0, 0x01D00000};
    for (int i = 0; i < count; ++i) {
        const std::string path = logs.File(naming + std::to_string(10 + i) + ".zip");
        WriteFile(path, "kept");
        HANDLE file =
            CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ULARGE_INTEGER t{{time.dwLowDateTime, time.dwHighDateTime}};
        t.QuadPart += uint64_t(i) * 600000000;
        const FILETIME at{t.LowPart, t.HighPart};
        SetFileTime(file, nullptr, nullptr, &at);
        CloseHandle(file);
    }
}

TEST(KeptArchives, EachFailedDeliveryKeepsItsOwnArchive) {
    const TestFolder temporary, logs;
    for (int delivery = 0; delivery < 3; ++delivery) {
        WriteFile(temporary.File("BugReport.zip"), "report " + std::to_string(delivery));
        EXPECT_FALSE(
            KeepFailedArchive(temporary.File("BugReport.zip"), logs.Path(), Naming(0)).empty());
    }
    for (const char* name : {"BugReport.zip", "BugReport_2.zip", "BugReport_3.zip"})
        EXPECT_TRUE(Exists(logs.File(name))) << name;
    EXPECT_FALSE(Exists(temporary.File("BugReport.zip")));
}

TEST(KeptArchives, TheOldestOwnArchivesGoBeyondTenOthersStay) {
    const TestFolder temporary, logs;
    KeepArchives(logs, 10, "BugReport__OLD");
    WriteFile(logs.File("Customers.zip"), "the program's own data");
    WriteFile(logs.File("Archive.zip"), "the program's own data");
    SetFileAttributesA(logs.File("BugReport__OLD10.zip").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteFile(temporary.File("BugReport.zip"), "new");
    const std::string kept = KeepFailedArchive(
        temporary.File("BugReport.zip"), logs.Path(),
        Naming(SendFlag::ComputerNameInFileNames | SendFlag::ExceptionTimeInFileNames));
    EXPECT_EQ(kept, logs.File("BugReport__OFFICE7__20240131174502.zip"));
    EXPECT_TRUE(Exists(kept));
    EXPECT_FALSE(Exists(logs.File("BugReport__OLD10.zip"))) << "oldest, read-only";
    for (int i = 11; i < 20; ++i)
        EXPECT_TRUE(Exists(logs.File("BugReport__OLD" + std::to_string(i) + ".zip"))) << i;
    EXPECT_TRUE(Exists(logs.File("Customers.zip")));
    EXPECT_TRUE(Exists(logs.File("Archive.zip")));
}

TEST(KeptArchives, AnArchiveThatCannotMoveIsReportedAsNotKept) {
    const TestFolder temporary;
    EXPECT_EQ(KeepFailedArchive(temporary.File("BugReport.zip"), temporary.File("none"), Naming(0)),
              "");
}

} // namespace
