#include "reporter/core/options/ini_file_name.h"
#include "reporter/core/options/module_options.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/options/system_folders.h"
#include "reporter/core/options/temporary_files.h"
#include "test_folder.h"
#include <gtest/gtest.h>
#include <windows.h>

namespace {

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void WriteTextFile(const std::string& fileName, const std::string& text) {
    HANDLE file = CreateFileA(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << fileName;
    DWORD written = 0;
    WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string FileSizeText(const std::string& fileName) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(fileName.c_str(), GetFileExInfoStandard, &data);
    return std::to_string(data.nFileSizeLow);
}

// Options whose LogPath is `logPath`, without the computer name in the log file name.
struct LogOptions : TVessarModuleOptions {
    explicit LogOptions(const std::string& logPath) : TVessarModuleOptions("") {
        SetLogPath(logPath);
        SetLogFlags(Stored().LogFlags & ~LogFlag::ComputerNameInFileName);
    }
};

TEST(LogFileName, FollowsLogPathAndCreatesTheFolderButLeavesNoFile) {
    TestFolder scratch;
    const std::string module = scratch.File("bin\\app.exe");
    SetEnvironmentVariableA("VESSAR_LOG_FOLDER", scratch.Path().c_str());
    const struct {
        std::string logPath;
        std::string expected;
    } cases[] = {
        {"", scratch.File("bin\\app.elf")},
        {scratch.File("logs"), scratch.File("logs\\app.elf")},
        {scratch.File("trailing\\"), scratch.File("trailing\\app.elf")},
        {scratch.File("named.ELF"), scratch.File("named.ELF")},
        {scratch.File("deep\\er\\named.elf"), scratch.File("deep\\er\\named.elf")},
        {"%VESSAR_LOG_FOLDER%\\expanded", scratch.File("expanded\\app.elf")},
        {scratch.File("dotted.folder"), scratch.File("dotted.folder\\app.elf")},
    };
    for (const auto& c : cases) {
        std::string fileName = LogOptions(c.logPath).LogFileName(module);
        EXPECT_EQ(fileName, c.expected) << c.logPath;
        EXPECT_TRUE(IsFolder(fileName.substr(0, fileName.rfind('\\')))) << c.logPath;
        EXPECT_FALSE(Exists(fileName)) << c.logPath;
    }
    SetEnvironmentVariableA("VESSAR_LOG_FOLDER", nullptr);
}

TEST(LogFileName, ReplacesTheExtensionOnlyOfTheFileName) {
    TestFolder scratch;
    LogOptions options("");
    EXPECT_EQ(options.LogFileName(scratch.File("v1.2\\tool")), scratch.File("v1.2\\tool.elf"));
    EXPECT_EQ(options.LogFileName(scratch.File("lib.dll")), scratch.File("lib.elf"));
}

TEST(LogFileName, KeepsAnExistingLogFile) {
    TestFolder scratch;
    WriteTextFile(scratch.File("app.elf"), "earlier reports");
    EXPECT_EQ(LogOptions("").LogFileName(scratch.File("app.exe")), scratch.File("app.elf"));
    EXPECT_EQ(FileSizeText(scratch.File("app.elf")), "15");
}

TEST(LogFileName, WithoutANameUsesTheModuleNameLessVshost) {
    TestFolder scratch;
    LogOptions options("");
    options.SetModuleName(scratch.File("app.vshost.exe"));
    EXPECT_EQ(options.LogFileName(), scratch.File("app.elf"));
    EXPECT_EQ(options.LogFileName(scratch.File("other.exe")), scratch.File("other.elf"));
}

TEST(LogFileName, InsertsTheComputerNameFitForFileNamesWhenAsked) {
    TestFolder scratch;
    LogOptions options("");
    const struct {
        const char* computerName;
        const char* fileName;
    } cases[] = {
        {"PC:1", "app_PC_1.elf"},
        {"A*B/C<D>E?F\\G|H\"", "app_A_B_C_D_E_F_G_H.elf"}, // cut to 15 characters
        {"WORKSTATION", "app_WORKSTATION.elf"},
    };
    for (const auto& c : cases) {
        options.SetLogFlags(options.Stored().LogFlags | LogFlag::ComputerNameInFileName);
        EXPECT_EQ(options.LogFileName(scratch.File("app.exe"), c.computerName),
                  scratch.File(c.fileName));
        options.SetLogFlags(options.Stored().LogFlags & ~LogFlag::ComputerNameInFileName);
        EXPECT_EQ(options.LogFileName(scratch.File("app.exe"), c.computerName),
                  scratch.File("app.elf"));
    }
}

TEST(LogFileName, MissingParentFoldersAreCreated) {
    TestFolder scratch;
    std::string fileName = LogOptions(scratch.File("a\\b\\c")).LogFolderFileName("x\\app.elf");
    EXPECT_EQ(fileName, scratch.File("a\\b\\c\\app.elf"));
    EXPECT_TRUE(IsFolder(scratch.File("a\\b\\c")));
}

// A folder below a file can never be created, so nothing can be written there.
class UnwritableLocation : public ::testing::Test {
  protected:
    void SetUp() override { WriteTextFile(scratch.File("blocker"), "a file, not a folder"); }
    std::string Below(const std::string& name) const {
        return scratch.File("blocker\\logs\\" + name);
    }
    TestFolder scratch;
};

TEST_F(UnwritableLocation, LogMovesToTheExecutablesFolderInTheReporterFolder) {
    const std::string executableFolder = ReporterFolder() + "\\reporter_core_tests";
    std::string fileName = LogOptions(Below("")).LogFileName(scratch.File("app.exe"));
    EXPECT_EQ(fileName, executableFolder + "\\app.elf");
    EXPECT_TRUE(IsFolder(executableFolder));
    EXPECT_FALSE(Exists(fileName));
    RemoveDirectoryA(executableFolder.c_str());
}

TEST_F(UnwritableLocation, LogKeepsItsNameWhenTheReporterFolderFailsToo) {
    // No folder can hold a file whose name has a "?".
    EXPECT_EQ(LogOptions(Below("")).LogFileName(scratch.File("what?.exe")), Below("what?.elf"));
    RemoveDirectoryA((ReporterFolder() + "\\reporter_core_tests").c_str());
}

TEST_F(UnwritableLocation, IniFileMovesToTheReporterFolder) {
    EXPECT_EQ(IniFileName(Below("state.ini")), ReporterFolder() + "\\state.ini");
}

TEST(IniFileName, ANameWithoutFolderGoesIntoTheReporterFolder) {
    TestFolder scratch;
    SetEnvironmentVariableA("VESSAR_INI_FOLDER", scratch.Path().c_str());
    EXPECT_EQ(IniFileName(), ReporterFolder() + "\\Vessarion.ini");
    EXPECT_EQ(IniFileName(scratch.File("own.ini")), scratch.File("own.ini"));
    EXPECT_EQ(IniFileName("%VESSAR_INI_FOLDER%\\own.ini"), scratch.File("own.ini"));
    EXPECT_FALSE(Exists(scratch.File("own.ini")));
    SetEnvironmentVariableA("VESSAR_INI_FOLDER", nullptr);
}

TEST(ReporterFolders, TheShellNamesTheApplicationDataFolderBeforeTheEnvironment) {
    char saved[MAX_PATH] = {};
    GetEnvironmentVariableA("AppData", saved, MAX_PATH);
    SetEnvironmentVariableA("AppData", "Q:\\not the shell's");
    std::string folder = ApplicationDataFolder();
    SetEnvironmentVariableA("AppData", saved[0] ? saved : nullptr);
    EXPECT_TRUE(IsFolder(folder)) << folder;
    EXPECT_EQ(ReporterFolder(), folder + "\\Vessarion");
}

TEST(TemporaryFiles, LieInTheTemporaryFolderAndCopyTheLogFileName) {
    const std::string temp = TemporaryFolder();
    EXPECT_EQ(temp.back(), '\\');
    EXPECT_EQ(ScreenshotFileName(), temp + "Screenshot.png");
    EXPECT_EQ(ArchiveFileName(), temp + "BugReport.zip");
    EXPECT_EQ(LastHtmlPageFileName(), temp + "LastHTMLPage.html");
    EXPECT_EQ(XmlLogCopyFileName("C:\\logs.d\\app_PC.elf"), temp + "app_PC.xml");
    EXPECT_EQ(LogCopyFileName("C:\\logs.d\\app_PC.elf"), temp + "app_PC.elf");
}

} // namespace
