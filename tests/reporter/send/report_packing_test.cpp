// Which files go with a report, and the one archive that replaces them.
#include "reporter/base/path_names.h"
#include "reporter/core/options/module_options.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/options/temporary_files.h"
#include "reporter/send/report_packing.h"
#include "test_folder.h"
#include <fstream>
#include <gtest/gtest.h>

namespace {

struct PackingOptions : TVessarModuleOptions {
    PackingOptions() : TVessarModuleOptions("") {}
};

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The candidates as the application is offered them, by bare name.
std::vector<std::string> Offered(TPackingRequest request) {
    std::vector<std::string> offered;
    request.AskApplication = [&](std::vector<std::string>& files) {
        for (const std::string& file : files)
            offered.push_back(FileNameOf(file));
    };
    PrepareAttachments(request);
    return offered;
}

TEST(PrepareAttachments, OffersTheFilesTheOptionsAndTheReportAskFor) {
    using namespace SendFlag;
    SetEnvironmentVariableA("PACKING_TEST_FOLDER", "C:\\data");
    struct Case {
        const char* what;
        bool mail, appendToMail;
        uint16_t flags;
        bool screenshot, page;
        std::vector<std::string> offered;
    } cases[] = {
        {"log copy alone", false, false, 0, true, true, {"app.elf"}},
        {"web ignores AppendReportToMail", false, true, 0, false, false, {"app.elf"}},
        {"mail with the report in its body", true, true, 0, false, false, {}},
        {"mail", true, false, 0, false, false, {"app.elf"}},
        {"everything",
         false,
         false,
         AttachScreenshot | AttachLastHtmlPage | AttachXmlLogCopy,
         true,
         true,
         {"app.elf", "Screenshot.png", "LastHTMLPage.html", "app.xml"}},
        {"screenshot and page asked for but none taken",
         false,
         false,
         AttachScreenshot | AttachLastHtmlPage,
         false,
         false,
         {"app.elf"}},
    };
    for (const Case& c : cases) {
        PackingOptions options;
        options.SetAppendReportToMail(c.appendToMail);
        options.SetSendFlags(c.flags);
        TPackingRequest request;
        request.Options = &options;
        request.LogFileName = "C:\\Program\\app.elf";
        request.IncludeLogCopy = c.mail;
        request.ScreenshotTaken = c.screenshot;
        request.LastPageRecorded = c.page;
        EXPECT_EQ(Offered(request), c.offered) << c.what;
    }
    PackingOptions options;
    options.SetAttachedFileList(" first.txt ; ;%PACKING_TEST_FOLDER%\\second.txt;");
    TPackingRequest request;
    request.Options = &options;
    request.LogFileName = "C:\\Program\\app.elf";
    std::vector<std::string> offered;
    request.AskApplication = [&](std::vector<std::string>& files) { offered = files; };
    PrepareAttachments(request);
    EXPECT_EQ(offered, (std::vector<std::string>{"first.txt", "C:\\data\\second.txt",
                                                 LogCopyFileName("C:\\Program\\app.elf")}));
}

TEST(PrepareAttachments, PacksWhatExistsTellsWhatIsLeftOutAndNamesOnlyTheArchive) {
    const TestFolder folder;
    WriteFile(folder.File("notes.txt"), "notes");
    WriteFile(ArchiveFileName(), "left by a delivery that did not end");
    PackingOptions options;
    TPackingRequest request;
    request.Options = &options;
    request.LogFileName = folder.File("absent.elf");
    std::vector<std::string> skipped;
    request.Skipped = [&](const std::string& file, const std::string& why) {
        skipped.push_back(FileNameOf(file) + ": " + why);
    };
    EXPECT_EQ(PrepareAttachments(request), std::vector<std::string>{ArchiveFileName()});
    EXPECT_FALSE(Exists(ArchiveFileName())) << "nothing to pack: no archive, not the old one";
    EXPECT_EQ(skipped, std::vector<std::string>{"absent.elf: not found"});

    skipped.clear();
    request.AskApplication = [&](std::vector<std::string>& files) {
        files.push_back(folder.File("notes.txt"));
    };
    EXPECT_EQ(PrepareAttachments(request), std::vector<std::string>{ArchiveFileName()});
    EXPECT_TRUE(Exists(ArchiveFileName()));
    EXPECT_EQ(skipped, std::vector<std::string>{"absent.elf: not found"});
    DeleteFileA(ArchiveFileName().c_str());
}

TEST(PrepareAttachments, ALockedFileIsLeftOutTheOthersPacked) {
    const TestFolder folder;
    WriteFile(folder.File("locked.txt"), "in use");
    WriteFile(folder.File("free.txt"), "free");
    HANDLE lock = CreateFileA(folder.File("locked.txt").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_EQ(
        PackFiles(folder.File("out.zip"), "", {folder.File("locked.txt"), folder.File("free.txt")}),
        std::vector<std::string>{folder.File("locked.txt")});
    CloseHandle(lock);
    EXPECT_TRUE(Exists(folder.File("out.zip")));
}

} // namespace
