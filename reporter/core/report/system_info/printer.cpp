// The default printer's driver, through the print spooler loaded for this only.
#include "reporter/base/path_names.h"
#include "reporter/base/run_time_library.h"
#include "reporter/core/report/system_info/registry_values.h"
#include "reporter/core/report/system_info/system_groups.h"
#include "reporter/diagnostics/lists/version_info.h"
#include <mutex>
#include <optional>
#include <vector>
#include <winspool.h>

namespace {

constexpr DWORD kNameSize = 1024;
// Where the spooler of Windows 2000 and later keeps the user's default printer.
const char* const kUserDefaultKey = "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";

// WIN.INI's "device" entry of section "windows": name, driver and port.
std::string ProfileDeviceEntry() {
    char device[kNameSize] = {};
    GetProfileStringA("windows", "device", "", device, kNameSize);
    return device;
}

// Systems before Windows 2000 name the default printer in WIN.INI only.
std::string ProfileDefaultPrinter() {
    const std::string entry = ProfileDeviceEntry();
    const size_t start = entry.find_first_not_of(' ');
    if (start == std::string::npos)
        return {};
    return entry.substr(start, entry.find(',') - start);
}

std::string SpoolerDefaultPrinter(const TRunTimeLibrary& spooler) {
    auto getDefault = spooler.Function<decltype(GetDefaultPrinterA)>("GetDefaultPrinterA");
    char name[kNameSize] = {};
    DWORD size = kNameSize;
    return getDefault && getDefault(name, &size) ? name : std::string();
}

struct TSpoolerCalls {
    decltype(OpenPrinterA)* Open;
    decltype(ClosePrinter)* Close;
    decltype(GetPrinterDriverA)* GetDriver;
};

// The driver's name and the product version of its file.
std::string DriverText(const TSpoolerCalls& calls, HANDLE printer) {
    DWORD size = 0;
    calls.GetDriver(printer, nullptr, 2, nullptr, 0, &size);
    std::vector<BYTE> data(size);
    if (size < sizeof(DRIVER_INFO_2A) ||
        !calls.GetDriver(printer, nullptr, 2, data.data(), size, &size))
        return {};
    const auto* driver = reinterpret_cast<const DRIVER_INFO_2A*>(data.data());
    const std::string version =
        driver->pDriverPath ? ReadVersionString(driver->pDriverPath, "ProductVersion") : "";
    return std::string(driver->pName ? driver->pName : "") + " (driver " +
           WithoutEvery(version, " ") + ")";
}

bool ProfileNamesDefault(const TWindowsVersion& version) {
    return version.Is9x() || (version.IsNT() && version.Major <= 4);
}

// The setting that names the default printer, as stored: it changes when the default does.
std::string DefaultPrinterSetting(const TWindowsVersion& version) {
    return ProfileNamesDefault(version)
               ? ProfileDeviceEntry()
               : ReadRegistryString(HKEY_CURRENT_USER, kUserDefaultKey, "Device");
}

std::string SpoolerPrinterValue(const TWindowsVersion& version) {
    TRunTimeLibrary spooler("winspool.drv");
    const TSpoolerCalls calls{spooler.Function<decltype(OpenPrinterA)>("OpenPrinterA"),
                              spooler.Function<decltype(ClosePrinter)>("ClosePrinter"),
                              spooler.Function<decltype(GetPrinterDriverA)>("GetPrinterDriverA")};
    if (!calls.Open || !calls.Close || !calls.GetDriver)
        return {};
    std::string name =
        ProfileNamesDefault(version) ? ProfileDefaultPrinter() : SpoolerDefaultPrinter(spooler);
    HANDLE printer = nullptr;
    if (name.empty() || !calls.Open(name.data(), &printer, nullptr))
        return {};
    std::string text = DriverText(calls, printer);
    calls.Close(printer);
    return text;
}

} // namespace

// Loading the spooler costs more than all other values of a report together: it is asked again
// only when the default printer changed since.
std::string PrinterValue(const TWindowsVersion& version) {
    static std::mutex lock;
    static std::optional<std::string> lastSetting;
    static std::string lastValue;
    const std::lock_guard<std::mutex> hold(lock);
    const std::string setting = DefaultPrinterSetting(version);
    if (setting != lastSetting) {
        lastValue = SpoolerPrinterValue(version);
        lastSetting = setting;
    }
    return lastValue;
}
