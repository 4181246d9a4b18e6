// The default printer's driver, through the print spooler loaded for this only.
#include "reporter/base/path_names.h"
#include "reporter/base/run_time_library.h"
#include "reporter/core/report/system_info/system_groups.h"
#include "reporter/diagnostics/lists/version_info.h"
#include <vector>
#include <winspool.h>

namespace {

constexpr DWORD kNameSize = 1024;

// Systems before Windows 2000 name the default printer in WIN.INI only.
std::string ProfileDefaultPrinter() {
    char device[kNameSize] = {};
    GetProfileStringA("windows", "device", "", device, kNameSize);
    const std::string entry = device;
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

} // namespace

std::string PrinterValue(const TWindowsVersion& version) {
    TRunTimeLibrary spooler("winspool.drv");
    const TSpoolerCalls calls{spooler.Function<decltype(OpenPrinterA)>("OpenPrinterA"),
                              spooler.Function<decltype(ClosePrinter)>("ClosePrinter"),
                              spooler.Function<decltype(GetPrinterDriverA)>("GetPrinterDriverA")};
    if (!calls.Open || !calls.Close || !calls.GetDriver)
        return {};
    const bool profileNamesIt = version.Is9x() || (version.IsNT() && version.Major <= 4);
    std::string name = profileNamesIt ? ProfileDefaultPrinter() : SpoolerDefaultPrinter(spooler);
    HANDLE printer = nullptr;
    if (name.empty() || !calls.Open(name.data(), &printer, nullptr))
        return {};
    std::string text = DriverText(calls, printer);
    calls.Close(printer);
    return text;
}
