#include "report_fixture.h"
#include "reporter/core/report/bug_report.h"
#include "reporter/core/report/log_xml.h"
#include "runtime/format.h"
#include <gtest/gtest.h>

namespace {

constexpr char kReportEnd[] = "\r\n\r\n\r\n";

// Two fields, the call stack of two threads, a module, a process, a listing and the CPU
// section, stored as the log keeps it.
std::string SmallReport(const TReportData& extra) {
    TestOptions options;
    options.SetReportFields((uint64_t(1) << 0) | (uint64_t(1) << 12));
    ReportFixture fixture;
    fixture.AddTwoThreads();
    fixture.Data.Fields = {{"1.1", "Mon, 3 Mar 2025 10:00:00 +0000"}, {"2.7", "4F2A"}};
    fixture.Data.Modules = {{"400000", "Upgrade.exe", "Profile upgrade", "1.0.0.7", "123456",
                             "2025-03-03 10:00", "C:\\app\\Upgrade.exe"}};
    fixture.Data.Processes = {{"1234", "Upgrade.exe", "Profile upgrade", "1.0.0.7", "2048", "8",
                               "3", "C:\\app\\Upgrade.exe"}};
    fixture.Data.Assembler = "Assembler Information:\r\n"
                             "-----------------------\r\n"
                             "; upgrade.TdmQuernel.DataModuleCreate (Line=42 - Offset=3)\r\n"
                             "; ---\r\n"
                             "00401234  mov eax, [ebx]  ; <-- EXCEPTION";
    fixture.Data.Context = extra.Context;
    fixture.Data.ExceptionAddress = extra.ExceptionAddress;
    return WithReproduceText(options, BuildReport(options, fixture.Data),
                             "Open the profile.\r\nClick Upgrade.") +
           kReportEnd;
}

TEST(LogXml, RendersEachSectionOfAReport) {
    EXPECT_EQ(LogXml({SmallReport({})}),
              "<Doc>\r\n"
              "  <Log Version=\"6.0.24\">\r\n"
              "    <General>\r\n"
              "      <Group ID=\"1\" Label=\"Application\">\r\n"
              "        <Line ID=\"1.1\" Label=\"Start Date\" Value=\"Mon, 3 Mar 2025 10:00:00 "
              "+0000\"/>\r\n"
              "      </Group>\r\n"
              "      <Group ID=\"2\" Label=\"Exception\">\r\n"
              "        <Line ID=\"2.7\" Label=\"ID\" Value=\"4F2A\"/>\r\n"
              "      </Group>\r\n"
              "      <Group ID=\"9\" Label=\"Request\">\r\n"
              "        <Line ID=\"9.1\" Label=\"Request\" Value=\"Open the "
              "profile.&#013;&#010;Click Upgrade.\"/>\r\n"
              "      </Group>\r\n"
              "    </General>\r\n"
              "    <CallStack>\r\n"
              "      <ExceptionThread ID=\"100\" Priority=\"0\" Class=\"\" MainThread=\"True\">\r\n"
              "        <Line Address=\"00401234\" Module=\"Upgrade.exe\" Unit=\"\" Class=\"\" "
              "Procedure=\"\" Line=\"\" Offset=\"\"/>\r\n"
              "        <Line Address=\"00401300\" Module=\"Upgrade.exe\" Unit=\"upgrade.cpp\" "
              "Class=\"TdmQuernel\" Procedure=\"DataModuleCreate\" Line=\"42\" Offset=\"3\"/>\r\n"
              "        <Line Address=\"7C801234\" Module=\"kernel32.dll\" Unit=\"\" Class=\"\" "
              "Procedure=\"RaiseException\" Line=\"\" Offset=\"\"/>\r\n"
              "      </ExceptionThread>\r\n"
              "      <RunningThread ID=\"200\" Priority=\"??\" Class=\"TWorker\" "
              "MainThread=\"False\">\r\n"
              "        <Line Address=\"00402000\" Module=\"Upgrade.exe\" Unit=\"worker.cpp\" "
              "Class=\"\" Procedure=\"Run\" Line=\"7\" Offset=\"0\"/>\r\n"
              "      </RunningThread>\r\n"
              "      <CallingThread ID=\"100\" Priority=\"0\" Class=\"\" MainThread=\"True\">\r\n"
              "        <Line Address=\"00403000\" Module=\"Upgrade.exe\" Unit=\"main.cpp\" "
              "Class=\"\" Procedure=\"main\" Line=\"10\" Offset=\"2\"/>\r\n"
              "      </CallingThread>\r\n"
              "    </CallStack>\r\n"
              "    <Modules>\r\n"
              "      <Module Handle=\"00400000\" Name=\"Upgrade.exe\" Description=\"Profile "
              "upgrade\" Version=\"1.0.0.7\" Size=\"123456\" Modified=\"2025-03-03 10:00\" "
              "Path=\"C:\\app\\Upgrade.exe\"/>\r\n"
              "    </Modules>\r\n"
              "    <Processes>\r\n"
              "      <Process ID=\"1234\" Name=\"Upgrade.exe\" Description=\"Profile upgrade\" "
              "Version=\"1.0.0.7\" Memory=\"2048\" Priority=\"8\" Threads=\"3\" "
              "Path=\"C:\\app\\Upgrade.exe\"/>\r\n"
              "    </Processes>\r\n"
              "    <Assembler>\r\n"
              "      <Line Address=\"\" Command=\"\" Comment=\"upgrade.TdmQuernel.DataModuleCreate "
              "(Line=42 - Offset=3)\"/>\r\n"
              "      <Line Address=\"\" Command=\"\" Comment=\"---\"/>\r\n"
              "      <Line Address=\"00401234\" Command=\"mov eax, [ebx]\" Comment=\"&#060;-- "
              "EXCEPTION\"/>\r\n"
              "    </Assembler>\r\n"
              "    <CPU>\r\n"
              "      <Registers EAX=\"????\" EDI=\"????\" EBX=\"????\" ESI=\"????\" ECX=\"????\" "
              "ESP=\"????\" EDX=\"????\" EIP=\"????\"/>\r\n"
              "      <Stack/>\r\n"
              "      <MemoryDump/>\r\n"
              "    </CPU>\r\n"
              "    <HoToReproduce Text=\"Open the profile.&#013;&#010;Click Upgrade.\"/>\r\n"
              "  </Log>\r\n"
              "</Doc>\r\n");
}

TEST(LogXml, ReadsTheRegistersAndEveryDumpLine) {
    CpuFixture cpu;
    TReportData extra;
    extra.Context = &cpu.Context;
    extra.ExceptionAddress = cpu.Code;
    const std::string xml = LogXml({SmallReport(extra)});
    EXPECT_NE(xml.find("<Registers EAX=\"00000001\" EDI=\"00000002\" EBX=\"00000003\" "
                       "ESI=\"00000004\" ECX=\"00000005\" ESP=\"" +
                       Format("%08X", unsigned(uintptr_t(cpu.Stack))) +
                       "\" EDX=\"00000006\" EIP=\"ABCDEF01\"/>"),
              std::string::npos);
    EXPECT_NE(xml.find("<Line Address=\"" + Format("%08X", unsigned(uintptr_t(cpu.Stack + 2))) +
                       "\" Value=\"22222222\"/>"),
              std::string::npos);
    EXPECT_NE(xml.find("<Line Address=\"" + Format("%08X", unsigned(uintptr_t(cpu.Code + 32))) +
                       "\" Bytes=\"20 21 22 23 24 25 26 27 28 29 2A 2B 2C 2D 2E 2F\" Chars=\" "
                       "!&#034;#$%&#038;&#039;()*+,-./\"/>"),
              std::string::npos);
    size_t lines = 0;
    for (size_t at = xml.find("<Line Address="); at != std::string::npos;
         at = xml.find("<Line Address=", at + 1))
        ++lines;
    EXPECT_EQ(lines, 5u + 3u + 16u + 16u) << "call stack, listing, stack and dump lines";
}

TEST(LogXml, MakesOneLogPerReportAndReadsWhatItCanOfADamagedOne) {
    const std::string report = SmallReport({});
    const std::string cut = report.substr(0, report.find("|00401300|"));
    const std::string xml = LogXml({report, cut + kReportEnd});
    const size_t first = xml.find("<Log Version=\"6.0.24\">");
    EXPECT_NE(xml.find("<Log Version=\"6.0.24\">", first + 1), std::string::npos);
    const std::string second = xml.substr(xml.rfind("<Log "));
    EXPECT_NE(second.find("Address=\"00401234\""), std::string::npos);
    EXPECT_EQ(second.find("Address=\"00401300\""), std::string::npos);
    EXPECT_NE(second.find("    <Modules/>\r\n    <Processes/>\r\n    <Assembler/>\r\n"),
              std::string::npos);
}

} // namespace
