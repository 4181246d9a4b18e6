#include "report_fixture.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/report/bug_report.h"
#include "reporter/core/report/report_sections.h"
#include "reporter/core/report/report_text.h"
#include "runtime/format.h"
#include <gtest/gtest.h>

namespace {

uint64_t Bits(std::initializer_list<int> bits) {
    uint64_t fields = 0;
    for (int bit : bits)
        fields |= uint64_t(1) << bit;
    return fields;
}

std::string Dashes(size_t count) {
    return std::string(count, '-');
}

std::string Hex(const void* address) {
    return Format("%08X", unsigned(uintptr_t(address)));
}

TEST(GeneralSection, WritesOnlyTheChosenFieldsUnderTheirKeysWithTheColonsInOneColumn) {
    TestOptions options;
    options.SetReportFields(Bits({0, 2}));
    TReportData data;
    data.Fields = {
        {"1.1", "Mon, 3 Mar 2025 10:00:00 +0000"}, {"1.2", "Upgrade.exe"}, {"1.3", "1.0.0.7"}};
    EXPECT_EQ(GeneralSection(options, data),
              "Application:\r\n" + Dashes(52) +
                  "\r\n"
                  "  1.1 Start Date    : Mon, 3 Mar 2025 10:00:00 +0000\r\n"
                  "  1.3 Version Number: 1.0.0.7");
}

TEST(GeneralSection, FollowsTheFieldBitsAndTheDefaultsOfANewReport) {
    const struct {
        std::initializer_list<int> bits;
        bool activeControls;
        std::string expected;
    } cases[] = {
        // Privileges and Company have their bits the other way round from their lines.
        {{19}, false, "User:\r\n" + Dashes(43) + "\r\n  3.5 Privileges: SeShutdownPrivilege - OFF"},
        {{20}, false, "User:\r\n" + Dashes(22) + "\r\n  3.4 Company: Quernel"},
        {{21}, false, ""},
        {{21}, true, "Active Controls:\r\n" + Dashes(24) + "\r\n  4.1 Form Class: TForm1"},
        {{13, 14},
         false,
         "Exception:\r\n" + Dashes(17) + "\r\n  2.8 Count : 1\r\n  2.9 Status: New"},
        {{0, 46},
         false,
         "Application:\r\n" + Dashes(19) + "\r\n  1.1 Start Date: x\r\n\r\nNetwork:\r\n" +
             Dashes(14) + "\r\n  7.6 DHCP: ON"},
    };
    for (const auto& c : cases) {
        TestOptions options;
        options.SetReportFields(Bits(c.bits));
        TReportData data;
        data.ShowActiveControls = c.activeControls;
        data.Fields = {{"1.1", "x"},
                       {"3.4", "Quernel"},
                       {"3.5", "SeShutdownPrivilege - OFF"},
                       {"4.1", "TForm1"},
                       {"7.6", "ON"}};
        EXPECT_EQ(GeneralSection(options, data), c.expected) << *c.bits.begin();
    }
}

std::string WholeRow(const std::string& text) {
    return "|" + text + std::string(67 - text.size(), ' ') + "|\r\n";
}

TEST(CallStackSection, DrawsOneBlockPerThreadAndKindOfStack) {
    TestOptions options;
    ReportFixture fixture;
    fixture.AddTwoThreads();
    const std::string dashes = Dashes(69) + "\r\n";
    const std::string separator = WholeRow(Dashes(67));
    EXPECT_EQ(CallStackSection(options, fixture.Data),
              "Call Stack Information:\r\n" + dashes +
                  "|Address |Module      |Unit       |Class     |Procedure/Method|Line |\r\n" +
                  dashes + WholeRow("*Exception Thread: ID=100; Priority=0; [Main]") + separator +
                  "|00401234|Upgrade.exe |           |          |                |     |\r\n"
                  "|00401300|Upgrade.exe |upgrade.cpp|TdmQuernel|DataModuleCreate|42[3]|\r\n"
                  "|7C801234|kernel32.dll|           |          |RaiseException  |     |\r\n" +
                  separator + WholeRow("") +
                  WholeRow("Running Thread: ID=200; Priority=??; Class=TWorker (loader)") +
                  separator +
                  "|00402000|Upgrade.exe |worker.cpp |          |Run             |7[0] |\r\n" +
                  separator + WholeRow("Calling Thread: ID=100; Priority=0; [Main]") + separator +
                  "|00403000|Upgrade.exe |main.cpp   |          |main            |10[2]|\r\n" +
                  dashes + "\r\n");
}

TEST(CallStackSection, ListsEntriesByWhatIsKnownOfThemAndStackFlags) {
    ReportFixture fixture;
    fixture.AddEntry(fixture.Program, kDetailNothing, 0x00000010, 1, true).ErrorAddress = true;
    fixture.AddEntry(fixture.Library, kDetailProcedure, 0x7C801111, 1, true);
    fixture.AddEntry(fixture.Library, kDetailUnit, 0x7C802222, 1, true);
    fixture.AddEntry(fixture.Program, kDetailUnit, 0x00403333, 1, true);
    fixture.AddEntry(fixture.Library, kDetailModule, 0x7C804444, 1, true);
    fixture.AddEntry(fixture.Program, kDetailLine, 0x00405555, 1, true);
    const struct {
        uint8_t stackFlags;
        bool procedures;
        bool units;
    } cases[] = {
        {0x00, false, false}, {0x01, true, false}, {0x02, false, true}, {0x03, true, true}};
    for (const auto& c : cases) {
        TestOptions options;
        options.SetStackFlags(c.stackFlags);
        const std::string text = CallStackSection(options, fixture.Data);
        EXPECT_NE(text.find("|00000010|"), std::string::npos) << int(c.stackFlags);
        EXPECT_NE(text.find("|00405555|"), std::string::npos) << int(c.stackFlags);
        EXPECT_EQ(text.find("|7C801111|") != std::string::npos, c.procedures);
        EXPECT_EQ(text.find("|7C802222|") != std::string::npos, c.units);
        EXPECT_EQ(text.find("|00403333|"), std::string::npos) << "unit of the program itself";
        EXPECT_EQ(text.find("|7C804444|"), std::string::npos) << "module alone";
    }
}

TEST(CallStackSection, WidensTheTableForALongThreadDescription) {
    TestOptions options;
    ReportFixture fixture;
    fixture.Data.Threads[0].Name = std::string(80, 'n');
    fixture.AddEntry(fixture.Program, kDetailLine, 0x00401000, 100, true).Line = 1;
    const std::vector<std::string> lines = SplitLines(CallStackSection(options, fixture.Data));
    ASSERT_GT(lines[1].size(), 80u);
    for (size_t i = 2; i + 2 < lines.size(); ++i)
        EXPECT_EQ(lines[i].size(), lines[1].size()) << lines[i];
}

TEST(ReportSections, ListsAndCpuLeftOutByTheLogFlagsKeepTheirTitles) {
    TestOptions options;
    options.SetLogFlags(0);
    ReportFixture fixture;
    fixture.Data.Assembler = "listing";
    EXPECT_TRUE(BuildReport(options, fixture.Data)
                    .ends_with("Modules Information:\r\n" + Dashes(20) +
                               "\r\n\r\n"
                               "Processes Information:\r\n" +
                               Dashes(22) +
                               "\r\n\r\n"
                               "Assembler Information:\r\n" +
                               Dashes(22) +
                               "\r\n\r\n"
                               "Registers:\r\n" +
                               Dashes(10) + "\r\n\r\n"));
}

TEST(ModulesSection, PadsTheHandleAndReplacesUnprintableCharacters) {
    TestOptions options;
    options.SetLogFlags(LogFlag::ModulesAndProcesses);
    TReportData data;
    data.Modules = {{"400000", "Upgrade.exe", "Profile\x01upgrade", "1.0.0.7", "123456",
                     "2025-03-03 10:00", "C:\\app\\Upgrade.exe"}};
    const std::string dashes = Dashes(89) + "\r\n";
    EXPECT_EQ(ModulesSection(options, data),
              "Modules Information:\r\n" + dashes +
                  "|Handle  |Name       |Description    |Version|Size  |Modified        |Path     "
                  "         |\r\n" +
                  dashes +
                  "|00400000|Upgrade.exe|Profile?upgrade|1.0.0.7|123456|2025-03-03 10:00|C:\\app\\"
                  "Upgrade.exe|\r\n" +
                  dashes + "\r\n");
}

TEST(AssemblerSection, EndsTheListingWithOneEmptyLine) {
    TestOptions options;
    TReportData data;
    data.Assembler = "Assembler Information:\r\n------\r\n00401234  ret\r\n\r\n\r\n";
    EXPECT_EQ(AssemblerSection(options, data),
              "Assembler Information:\r\n------\r\n00401234  ret\r\n\r\n");
}

constexpr char kRegistersHeader[] = "Registers:\r\n-----------------------------\r\n";
constexpr char kDumpHeader[] = "\r\n\r\nStack:               Memory Dump:\r\n------------------   "
                               "-------------------------------------------------------------------"
                               "--------\r\n";

TEST(CpuSection, WithoutAContextShowsUnknownRegistersAndNoDump) {
    TestOptions options;
    TReportData data;
    EXPECT_EQ(CpuSection(options, data), std::string(kRegistersHeader) +
                                             "EAX: ????       EDI: ????    \r\n"
                                             "EBX: ????       ESI: ????    \r\n"
                                             "ECX: ????       ESP: ????    \r\n"
                                             "EDX: ????       EIP: ????    " +
                                             kDumpHeader);
}

TEST(CpuSection, DumpsTheStackBesideTheCodeWhenBothCanBeRead) {
    TestOptions options;
    CpuFixture cpu;
    TReportData data;
    data.Context = &cpu.Context;
    data.ExceptionAddress = cpu.Code;

    const std::string text = CpuSection(options, data);
    const std::string registers = std::string(kRegistersHeader) +
                                  "EAX: 00000001   EDI: 00000002\r\n"
                                  "EBX: 00000003   ESI: 00000004\r\n"
                                  "ECX: 00000005   ESP: " +
                                  Hex(cpu.Stack) + "\r\nEDX: 00000006   EIP: ABCDEF01" +
                                  kDumpHeader;
    ASSERT_TRUE(text.starts_with(registers));
    const std::string dump = text.substr(registers.size());
    EXPECT_EQ(std::count(dump.begin(), dump.end(), '\n'), 16);
    EXPECT_NE(dump.find(Hex(cpu.Stack + 2) + ": 22222222   " + Hex(cpu.Code + 32) +
                        ": 20 21 22 23 24 25 26 27 28 29 2A 2B 2C 2D 2E 2F   !\"#$%&'()*+,-./\r\n"),
              std::string::npos);
    EXPECT_NE(dump.find(": 70 71 72 73 74 75 76 77 78 79 7A 7B 7C 7D 7E 7F  pqrstuvwxyz{|}~.\r\n"),
              std::string::npos);
    EXPECT_NE(dump.find(": 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F  ................\r\n"),
              std::string::npos);

    data.ExceptionAddress = nullptr;
    EXPECT_TRUE(CpuSection(options, data).ends_with(kDumpHeader)) << "code unreadable";
}

TEST(BuildReport, PutsTheSectionsInOrderAfterTheHeader) {
    TestOptions options;
    options.SetReportFields(Bits({0}));
    options.SetLogFlags(LogFlag::ModulesAndProcesses | LogFlag::AssemblerAndCpu);
    ReportFixture fixture;
    fixture.Data.Fields = {{"1.1", "x"}};
    fixture.Data.Assembler = "Assembler Information:\r\n----------------------\r\n00401234  ret";
    const std::string report = BuildReport(options, fixture.Data);
    EXPECT_TRUE(report.starts_with("Vessarion 6.0.24\r\n\r\nApplication:\r\n" + Dashes(19) +
                                   "\r\n  1.1 Start Date: x\r\n\r\nCall Stack Information:\r\n"));
    size_t at = 0;
    for (const char* title :
         {"\r\nModules Information:\r\n", "\r\nProcesses Information:\r\n",
          "\r\n\r\nAssembler Information:\r\n", "00401234  ret\r\n\r\nRegisters:"}) {
        const size_t found = report.find(title, at);
        EXPECT_NE(found, std::string::npos) << title;
        at = found;
    }
    EXPECT_TRUE(report.ends_with("---\r\n")) << "the last line ends; no empty line follows";
}

TEST(AppendedSections, GoToTheEndOfTheGeneralPartWithTheirOwnGroupNumbers) {
    TestOptions options;
    options.SetReportFields(Bits({0, 47}));
    TReportData data;
    data.Fields = {{"1.1", "x"}};
    const std::string report = BuildReport(options, data);
    const std::string withData =
        WithCustomData(options, report, {"Build=17", "Channel=beta: nightly"});
    const std::string withBoth =
        WithReproduceText(options, withData, "Open the profile.\nClick Upgrade.");
    EXPECT_NE(withBoth.find("  1.1 Start Date: x\r\n\r\n"
                            "Custom Information:\r\n" +
                            Dashes(28) +
                            "\r\n"
                            "  8.1 Build  : 17\r\n"
                            "  8.2 Channel: beta: nightly\r\n\r\n"
                            "Request:\r\n" +
                            Dashes(32) +
                            "\r\n"
                            "  9.1 Request: Open the profile.\r\n"
                            " Click Upgrade.\r\n\r\n"
                            "Call Stack Information:\r\n"),
              std::string::npos)
        << withBoth;

    options.SetReportFields(Bits({0}));
    EXPECT_EQ(WithCustomData(options, report, {"Build=17"}), report) << "bit 47 off";
}

} // namespace
