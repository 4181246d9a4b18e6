// How system values are written: tables of inputs and the texts the report shows.
#include "reporter/base/windows_version.h"
#include "reporter/core/report/system_info/access_violation.h"
#include "reporter/core/report/system_info/application_text.h"
#include "reporter/core/report/system_info/computer_text.h"
#include "reporter/core/report/system_info/html_text.h"
#include "reporter/core/report/system_info/network_text.h"
#include "reporter/core/report/system_info/user_text.h"
#include <gtest/gtest.h>

namespace {

using TFields = std::map<std::string, std::string>;

TEST(NetworkText, AdaptersAreJoinedWithPaddedAddressesAndAlignedDhcp) {
    const TAdapterAddresses withDhcp{"192.168.1.10", "255.255.255.0", "192.168.1.1",
                                     true,           "192.168.1.1",   ""};
    const TAdapterAddresses fixed{"10.0.0.5", "255.0.0.0", "", false, "", ""};
    TFields fields;
    AddNetworkFields(fields, {withDhcp, fixed});
    EXPECT_EQ(fields["7.1"], "192.168.001.010 - 010.000.000.005");
    EXPECT_EQ(fields["7.2"], "255.255.255.000 - 255.000.000.000");
    EXPECT_EQ(fields["7.3"], "192.168.001.001 - 000.000.000.000");
    // One DNS server: the second is written as zeros; a failed query gives zeros for both.
    EXPECT_EQ(fields["7.4"], "192.168.001.001 - 000.000.000.000");
    EXPECT_EQ(fields["7.5"], "000.000.000.000 - 000.000.000.000");
    EXPECT_EQ(fields["7.6"], "ON              - OFF            ");

    TFields none;
    AddNetworkFields(none, {});
    EXPECT_EQ(none.size(), 6u);
    for (const auto& [key, value] : none)
        EXPECT_EQ(value, "") << key;
}

TEST(NetworkText, EachAddressPartIsPaddedToThreeDigits) {
    const struct {
        const char* address;
        const char* padded;
    } cases[] = {
        {"192.168.1.10", "192.168.001.010"},
        {"0.0.0.0", "000.000.000.000"},
        {"", "000.000.000.000"},
        {"255.255.255.255", "255.255.255.255"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PaddedAddress(c.address), c.padded) << c.address;
}

TEST(ComputerText, MemoryInMegabytesAndDiskInGigabytes) {
    constexpr uint64_t kGiB = 1073741824;
    EXPECT_EQ(MegabytesText(kGiB * 7 / 2), "3584 Mb");
    EXPECT_EQ(MegabytesText(1572864), "2 Mb"); // 1.5 MiB rounds up
    EXPECT_EQ(MegabytesText(0), "0 Mb");
    EXPECT_EQ(GigabytesText(uint64_t(11.4978 * kGiB)), "11.5 Gb");
    EXPECT_EQ(GigabytesText(2 * kGiB), "2 Gb");
    EXPECT_EQ(GigabytesText(kGiB * 5 / 4), "1.25 Gb");
    EXPECT_EQ(GigabytesText(kGiB / 1000), "0 Gb");
}

TEST(ComputerText, ProcessorVideoCardAndDriveRoot) {
    EXPECT_EQ(ProcessorText("  Intel(R) Core(TM) i7 ", "GenuineIntel", "x86"),
              "Intel(R) Core(TM) i7");
    EXPECT_EQ(ProcessorText("", " GenuineIntel ", " x86 Family 6 "), "GenuineIntel - x86 Family 6");
    EXPECT_EQ(ProcessorText(" ", "GenuineIntel", ""), "GenuineIntel");
    EXPECT_EQ(ProcessorText("", "", "x86 Family 6"), "Unknown processor");

    EXPECT_EQ(VideoCardText(" Wine Adapter ", "1.0", 256 * 1048576),
              "Wine Adapter (driver 1.0 - RAM 256 MB)");
    EXPECT_EQ(VideoCardText("Adapter", "2.1", 0), "Adapter (driver 2.1)");
    EXPECT_EQ(VideoCardText("", "2.1", 1048576), "");

    EXPECT_EQ(DeviceMapKey("\\Registry\\Machine\\System\\CurrentControlSet\\Video\\{A}\\0000"),
              "\\System\\CurrentControlSet\\Video\\{A}\\0000");
    EXPECT_EQ(DeviceMapKey("\\REGISTRY\\Machine\\SYSTEM\\ControlSet001\\Services\\vga\\Device0"),
              "\\SYSTEM\\ControlSet001\\Services\\vga\\Device0");
    EXPECT_EQ(DeviceMapKey(""), "");

    EXPECT_EQ(DriveRootOf("C:\\Programs\\app.exe"), "C:\\");
    EXPECT_EQ(DriveRootOf("\\\\server\\share\\dir\\app.exe"), "\\\\server\\share\\");
    EXPECT_EQ(DriveRootOf("app.exe"), "");
}

TEST(UserText, PrivilegeNamesArePaddedTo31Characters) {
    EXPECT_EQ(PrivilegeLine("SeShutdownPrivilege", true),
              "SeShutdownPrivilege             - ON\r\n");
    EXPECT_EQ(PrivilegeLine("SeTrustedCredManAccessPrivilege", false),
              "SeTrustedCredManAccessPrivilege - OFF\r\n");
    EXPECT_EQ(PrivilegeLine("SeDelegateSessionUserImpersonatePrivilege", true),
              "SeDelegateSessionUserImpersonatePrivilege - ON\r\n");
}

TWindowsVersion Version(DWORD platform, DWORD major, DWORD minor, BYTE productType = 1,
                        const char* servicePack = "", bool wow64 = false) {
    TWindowsVersion version;
    version.Platform = platform;
    version.Major = major;
    version.Minor = minor;
    version.ProductType = productType;
    version.ServicePack = servicePack;
    version.Wow64 = wow64;
    return version;
}

constexpr DWORD kNT = VER_PLATFORM_WIN32_NT;
constexpr DWORD k95 = VER_PLATFORM_WIN32_WINDOWS;
constexpr BYTE kServer = VER_NT_SERVER;

TEST(UserText, MicrosoftAsOwnerMeansNoneFromVistaOn) {
    EXPECT_EQ(RegisteredText("Microsoft", Version(kNT, 6, 1)), "");
    EXPECT_EQ(RegisteredText("Microsoft", Version(kNT, 6, 0)), "");
    EXPECT_EQ(RegisteredText("Microsoft", Version(kNT, 5, 1)), "Microsoft");
    EXPECT_EQ(RegisteredText("Microsoft", Version(k95, 6, 0)), "Microsoft");
    EXPECT_EQ(RegisteredText("Microsoft Corp", Version(kNT, 6, 1)), "Microsoft Corp");
}

TEST(WindowsNames, EveryVersionAndProductType) {
    const struct {
        TWindowsVersion version;
        const char* name;
    } cases[] = {
        {Version(kNT, 5, 2), "Microsoft Windows XP"},
        {Version(kNT, 5, 2, kServer), "Microsoft Windows 2003"},
        {Version(kNT, 5, 0, kServer), "Microsoft Windows 2000"},
        {Version(kNT, 5, 1), "Microsoft Windows XP"},
        {Version(kNT, 4, 0), "Microsoft Windows NT 4.0"},
        {Version(kNT, 6, 0), "Microsoft Windows Vista"},
        {Version(kNT, 6, 0, kServer), "Microsoft Windows Server 2008"},
        {Version(kNT, 6, 1, 1, "Service Pack 1", true), "Microsoft Windows 7 (64 bit)"},
        {Version(kNT, 6, 1, kServer), "Microsoft Windows Server 2008 R2"},
        {Version(kNT, 10, 0), "Microsoft Windows 10.0"},
        {Version(kNT, 5, 3), "Microsoft Windows 5.3"},
        {Version(k95, 4, 0, 0, "B"), "Microsoft Windows 95 OSR 2"},
        {Version(k95, 4, 0, 0, "C"), "Microsoft Windows 95"},
        {Version(k95, 4, 10, 0, "A"), "Microsoft Windows 98 SE"},
        {Version(k95, 4, 10), "Microsoft Windows 98"},
        {Version(k95, 4, 90), "Microsoft Windows ME"},
        {Version(k95, 4, 95), "Microsoft Windows 4.95"},
        {Version(0, 3, 10), "Microsoft Windows "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WindowsTypeName(c.version), c.name) << c.name;
}

TEST(WindowsNames, BuildOfThe95SeriesIsItsLow16Bits) {
    TWindowsVersion nt = Version(kNT, 6, 1);
    nt.Build = 7601;
    TWindowsVersion series95 = Version(k95, 4, 10);
    series95.Build = 0x040A08AE;
    EXPECT_EQ(WindowsBuildText(nt), "7601");
    EXPECT_EQ(WindowsBuildText(series95), "2222");
}

TEST(ApplicationText, ParametersFollowTheProgramName) {
    const struct {
        const char* commandLine;
        const char* parameters;
    } cases[] = {
        {"\"C:\\Program Files\\App\\app.exe\"  -a  \"b c\" ", "-a  \"b c\""},
        {"C:\\App\\app.exe /x", "/x"},
        {"app.exe\t/x", "/x"}, // a short name, shorter than the module's path
        {"\"C:\\App\\app.exe\"/x", "/x"},
        {"  \"C:\\App\\app.exe\"", ""},
        {"app.exe", ""},
        {"", ""},
        {"\"unterminated name", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommandLineParameters(c.commandLine), c.parameters) << c.commandLine;
}

TEST(ApplicationText, CompilationDateIsTheBuildTimeInLocalTime) {
    // 45000.5 is 15 March 2023, 12:00 universal time.
    EXPECT_EQ(CompilationDateText(45000.5, 1), "Wed, 15 Mar 2023 13:00:00 +0100");
    EXPECT_EQ(CompilationDateText(45000.5, -5), "Wed, 15 Mar 2023 07:00:00 -0500");
    EXPECT_EQ(CompilationDateText(45000.9, 5), "Thu, 16 Mar 2023 02:36:00 +0500");
    EXPECT_EQ(CompilationDateText(0, 1), "");
    EXPECT_EQ(CompilationDateText(-1e12, 0), "");
}

TEST(AccessViolationText, ModuleNamedWhenKnown) {
    const void* address = reinterpret_cast<const void*>(0x0040100A);
    EXPECT_EQ(FormatAccessViolation(address, "app.exe", true, nullptr),
              "Access violation at address 0040100A in module 'app.exe'. Write of address "
              "00000000.");
    EXPECT_EQ(FormatAccessViolation(address, "", false, reinterpret_cast<const void*>(0x10)),
              "Access violation at address 0040100A. Read of address 00000010.");
}

TEST(HtmlText, MarkupBlanksAndLineBreaks) {
    const struct {
        const char* text;
        const char* html;
    } cases[] = {
        {"a & b", "a &amp; b"},
        {"<p class=\"x\">it's</p>", "&lt;p class=&quot;x&quot;&gt;it&#039;s&lt;/p&gt;"},
        {"a   b", "a&nbsp;&nbsp; b"},
        {"one\r\ntwo\n", "one<br>\r\ntwo\n"},
        {"&lt;", "&amp;lt;"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HtmlEscaped(c.text), c.html) << c.text;
}

} // namespace
