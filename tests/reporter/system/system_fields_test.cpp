// The system values of this machine (under Wine in the test runs): each one the platform gives
// is filled and has its format. What Wine does not give: a printer ("Printer" stays empty), a
// registered owner or organisation (blank in its registry: the tests write their own), the
// video driver's version and memory size, and a free memory below the total (it caps the total
// for 32-bit programs only). The network values depend on the host's adapters and are checked
// for their form only.
#include "reporter/core/report/system_info/access_violation.h"
#include "reporter/core/report/system_info/system_fields.h"
#include "runtime/module_names.h"
#include <cstdlib>
#include <gtest/gtest.h>
#include <regex>

namespace {

using TFields = std::map<std::string, std::string>;

const char* const kDate = "(Sun|Mon|Tue|Wed|Thu|Fri|Sat), \\d{1,2} "
                          "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) \\d{4} "
                          "\\d\\d:\\d\\d:\\d\\d [+-]\\d{4}";
const char* const kDuration = "(\\d+ days?, )?(\\d+ hours?, )?(\\d+ minutes?, )?\\d+ seconds?";
const char* const kVersion = "\\d+\\.\\d+\\.\\d+\\.\\d+";
const char* const kAddress = "\\d{3}\\.\\d{3}\\.\\d{3}\\.\\d{3}";
const char* const kPrivilegeLines = "(\\S.{30,} - (ON|OFF)\r\n)+";

bool Matches(const std::string& text, const char* pattern) {
    return std::regex_match(text, std::regex(pattern));
}

TFields SystemFields(const void* exceptionAddress) {
    TSystemFieldsContext context;
    GetLocalTime(&context.ExceptionTime);
    context.ExceptionAddress = exceptionAddress;
    TFields fields;
    AddSystemFields(fields, context);
    return fields;
}

const void* Kernel32Code() {
    return reinterpret_cast<const void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount"));
}

double Number(const std::string& text) {
    return std::strtod(text.c_str(), nullptr);
}

TEST(SystemFields, ApplicationUserAndExceptionModule) {
    TFields fields = SystemFields(Kernel32Code());
    EXPECT_TRUE(Matches(fields["1.1"], kDate)) << fields["1.1"];
    EXPECT_TRUE(fields.count("1.4"));
    // This program carries crash reporter data with its build time stamp.
    EXPECT_TRUE(Matches(fields["1.5"], kDate)) << fields["1.5"];
    EXPECT_TRUE(Matches(fields["1.6"], kDuration)) << fields["1.6"];
    EXPECT_TRUE(Matches(fields["2.4"], kVersion)) << fields["2.4"];
    EXPECT_FALSE(fields["3.1"].empty());
    EXPECT_TRUE(Matches(fields["3.5"], kPrivilegeLines)) << fields["3.5"];
}

TEST(SystemFields, ComputerAndOperatingSystem) {
    TFields fields = SystemFields(nullptr);
    EXPECT_FALSE(fields["5.1"].empty());
    EXPECT_TRUE(Matches(fields["5.2"], "[1-9]\\d* Mb")) << fields["5.2"];
    EXPECT_TRUE(Matches(fields["5.3"], "[1-9]\\d* Mb")) << fields["5.3"];
    EXPECT_LE(Number(fields["5.3"]), Number(fields["5.2"]));
    EXPECT_TRUE(Matches(fields["5.4"], "\\d+(\\.\\d\\d?)? Gb")) << fields["5.4"];
    EXPECT_TRUE(Matches(fields["5.5"], "\\d+(\\.\\d\\d?)? Gb")) << fields["5.5"];
    EXPECT_LE(Number(fields["5.5"]), Number(fields["5.4"]));
    EXPECT_TRUE(Matches(fields["5.6"], kDuration)) << fields["5.6"];
    EXPECT_FALSE(fields["5.7"].empty());
    EXPECT_NE(fields["5.7"], "Unknown processor");
    EXPECT_TRUE(Matches(fields["5.8"], "[1-9]\\d* x [1-9]\\d*, [1-9]\\d* bit")) << fields["5.8"];
    EXPECT_TRUE(Matches(fields["5.9"], "[1-9]\\d*")) << fields["5.9"];
    EXPECT_TRUE(Matches(fields["5.10"], "\\S.* \\(driver .*\\)")) << fields["5.10"];
    EXPECT_TRUE(fields.count("5.11"));
    EXPECT_TRUE(Matches(fields["6.1"], "Microsoft Windows \\S.*")) << fields["6.1"];
    EXPECT_TRUE(Matches(fields["6.2"], "[1-9]\\d*")) << fields["6.2"];
    EXPECT_TRUE(fields.count("6.3"));
    EXPECT_FALSE(fields["6.4"].empty());
    EXPECT_TRUE(Matches(fields["6.5"], "\\d+")) << fields["6.5"];
}

// However many adapters the host has, the six lines list them alike.
TEST(SystemFields, NetworkLinesHaveOneEntryPerAdapter) {
    TFields fields = SystemFields(nullptr);
    const std::string addresses = std::string("(") + kAddress + "( - " + kAddress + ")*)?";
    for (const char* key : {"7.1", "7.2", "7.3", "7.4", "7.5"})
        EXPECT_TRUE(Matches(fields[key], addresses.c_str())) << key << ": " << fields[key];
    EXPECT_TRUE(Matches(fields["7.6"], "((ON |OFF) {12}( - )?)*")) << fields["7.6"];
    EXPECT_EQ(fields["7.1"].size(), fields["7.6"].size());
}

TEST(SystemFields, NoExceptionTimeOrAddressLeavesTheirValuesEmpty) {
    TFields fields;
    AddSystemFields(fields, {});
    EXPECT_EQ(fields["1.6"], "");
    EXPECT_EQ(fields["2.4"], "");
    EXPECT_TRUE(Matches(fields["1.1"], kDate)) << fields["1.1"];
}

// A string value of the local machine's registry, replaced for one test and put back after.
class TemporaryMachineValue {
  public:
    TemporaryMachineValue(const char* key, const char* name) : name_(name) {
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                            &key_, nullptr) != ERROR_SUCCESS)
            key_ = nullptr;
        DWORD size = 0;
        had_ = key_ && RegQueryValueExA(key_, name, nullptr, &type_, nullptr, &size) == 0;
        old_.resize(size);
        if (had_ && size)
            RegQueryValueExA(key_, name, nullptr, &type_, old_.data(), &size);
    }
    ~TemporaryMachineValue() {
        if (!key_)
            return;
        if (had_)
            RegSetValueExA(key_, name_, 0, type_, old_.data(), DWORD(old_.size()));
        else
            RegDeleteValueA(key_, name_);
        RegCloseKey(key_);
    }
    void Set(const std::string& value) {
        ASSERT_NE(key_, nullptr);
        RegSetValueExA(key_, name_, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       DWORD(value.size() + 1));
    }

  private:
    const char* name_;
    HKEY key_ = nullptr;
    bool had_ = false;
    DWORD type_ = REG_SZ;
    std::vector<BYTE> old_;
};

const char* const kNTVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const char* const kVersionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char* const kSetupKey = "SOFTWARE\\Microsoft\\MS Setup (ACME)\\User Info";

// Owner and company come from the first of three places that has them; Wine reports Windows 7,
// where "Microsoft" stands for nothing.
TEST(SystemFields, OwnerAndCompanyFromTheFirstRegistryPlaceThatNamesThem) {
    TemporaryMachineValue owners[] = {{kNTVersionKey, "RegisteredOwner"},
                                      {kVersionKey, "RegisteredOwner"},
                                      {kSetupKey, "DefName"}};
    TemporaryMachineValue companies[] = {{kNTVersionKey, "RegisteredOrganization"},
                                         {kVersionKey, "RegisteredOrganization"},
                                         {kSetupKey, "DefCompany"}};
    const struct {
        const char* owners[3];
        const char* companies[3];
        const char* owner;
        const char* company;
    } cases[] = {
        {{"First", "Second", "Third"}, {"", "Second Ltd", "Third Ltd"}, "First", "Second Ltd"},
        {{"", "Second", "Third"}, {"", "", "Third Ltd"}, "Second", "Third Ltd"},
        {{"", "", "Third"}, {"First Ltd", "", ""}, "Third", "First Ltd"},
        {{"Microsoft", "Second", ""}, {"Microsoft", "", "Third Ltd"}, "", ""},
        {{"", "", ""}, {"", "", ""}, "", ""},
    };
    for (const auto& c : cases) {
        for (int place = 0; place < 3; ++place) {
            owners[place].Set(c.owners[place]);
            companies[place].Set(c.companies[place]);
        }
        TFields fields = SystemFields(nullptr);
        EXPECT_EQ(fields["3.2"], c.owner);
        EXPECT_EQ(fields["3.4"], c.company);
    }
}

EXCEPTION_RECORD AccessViolation(const void* address, ULONG_PTR write, ULONG_PTR accessed) {
    EXCEPTION_RECORD record{};
    record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
    record.ExceptionAddress = const_cast<void*>(address);
    record.NumberParameters = 2;
    record.ExceptionInformation[0] = write;
    record.ExceptionInformation[1] = accessed;
    return record;
}

TEST(AccessViolationMessage, NamesTheModuleWhoseImageHoldsTheAddress) {
    const void* code = reinterpret_cast<const void*>(&SystemFields);
    const EXCEPTION_RECORD inProgram = AccessViolation(code, 1, 0x10);
    EXPECT_EQ(AccessViolationMessage(&inProgram),
              FormatAccessViolation(code, ModuleFileName(GetModuleHandleA(nullptr)), true,
                                    reinterpret_cast<const void*>(0x10)));

    std::vector<char> heap(64);
    const EXCEPTION_RECORD onHeap = AccessViolation(heap.data(), 0, 0x20);
    EXPECT_EQ(AccessViolationMessage(&onHeap),
              FormatAccessViolation(heap.data(), "", false, reinterpret_cast<const void*>(0x20)));
}

TEST(AccessViolationMessage, OtherRecordsGiveNone) {
    EXCEPTION_RECORD divide = AccessViolation(Kernel32Code(), 0, 0);
    divide.ExceptionCode = EXCEPTION_INT_DIVIDE_BY_ZERO;
    EXCEPTION_RECORD short_ = AccessViolation(Kernel32Code(), 0, 0);
    short_.NumberParameters = 1;
    EXPECT_EQ(AccessViolationMessage(&divide), "");
    EXPECT_EQ(AccessViolationMessage(&short_), "");
    EXPECT_EQ(AccessViolationMessage(nullptr), "");
}

} // namespace
