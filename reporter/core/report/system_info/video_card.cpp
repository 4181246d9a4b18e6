// The display adapter is found one of three ways: through the display-device call where the
// system has it, else through the registry as the NT family or the 95 series keep it.
#include "reporter/base/run_time_library.h"
#include "reporter/core/report/system_info/computer_text.h"
#include "reporter/core/report/system_info/registry_values.h"
#include "reporter/core/report/system_info/system_groups.h"
#include "reporter/diagnostics/lists/version_info.h"
#include <algorithm>

namespace {

struct TVideoCard {
    std::string Adapter;
    std::string DriverVersion;
    DWORD MemoryBytes = 0;
};

std::string MachineString(const std::string& key, const char* name) {
    return ReadRegistryString(HKEY_LOCAL_MACHINE, key, name);
}

DWORD MachineDword(const std::string& key, const char* name) {
    return ReadRegistryDword(HKEY_LOCAL_MACHINE, key, name);
}

// The driver key of the first video device as the device map names it.
std::string DeviceMapDriverKey() {
    return DeviceMapKey(MachineString("Hardware\\Devicemap\\Video", "\\Device\\Video0"));
}

DWORD DriverMemory(const std::string& driverKey) {
    return MachineDword(driverKey, "HardwareInformation.MemorySize");
}

TVideoCard NTDisplayDevice(const DISPLAY_DEVICEA& device) {
    const std::string enumKey = std::string("System\\CurrentControlSet\\Enum\\") + device.DeviceID;
    const std::string deviceKey =
        enumKey + "\\" + RegistrySubkeyName(HKEY_LOCAL_MACHINE, enumKey, 0);
    const std::string videoId = MachineString(deviceKey + "\\Device Parameters", "VideoID");
    const std::string driverKey =
        videoId.empty() ? DeviceMapDriverKey()
                        : "System\\CurrentControlSet\\Control\\Video\\" + videoId + "\\0000";
    const std::string classKey =
        "System\\CurrentControlSet\\Control\\Class\\" + MachineString(deviceKey, "Driver");
    return {device.DeviceString, MachineString(classKey, "DriverVersion"), DriverMemory(driverKey)};
}

// The 95 series keeps the driver's version and memory size under the device's key.
TVideoCard Series95Card(const std::string& adapter, const std::string& deviceKey) {
    return {adapter, MachineString(deviceKey, "Ver"),
            MachineDword(deviceKey + "\\INFO", "VideoMemory")};
}

// NT 4: no display-device call; the adapter's name is stored as wide characters.
TVideoCard NTDeviceMapCard() {
    const std::string driverKey = DeviceMapDriverKey();
    std::string adapter = MachineString(driverKey, "HardwareInformation.AdapterString");
    adapter.erase(std::remove(adapter.begin(), adapter.end(), '\0'), adapter.end());
    const std::string serviceKey = driverKey.substr(0, driverKey.find_last_of('\\'));
    const std::string driverFile = MachineString(serviceKey, "ImagePath");
    return {adapter, ReadVersionString(driverFile, "ProductVersion"), DriverMemory(driverKey)};
}

// Windows 95 without the display-device call: the last display class entry is the one in use.
TVideoCard Series95ClassCard() {
    const std::string classKey = "System\\CurrentControlSet\\Services\\Class\\Display";
    std::string last = "0000";
    for (DWORD i = 0;; ++i) {
        const std::string name = RegistrySubkeyName(HKEY_LOCAL_MACHINE, classKey, i);
        if (name.empty())
            break;
        last = name;
    }
    const std::string key = classKey + "\\" + last;
    return Series95Card(MachineString(key, "DriverDesc"), key);
}

bool HasDisplayDeviceCall(const TWindowsVersion& version) {
    return (version.Is9x() && version.Minor >= 10) || (version.IsNT() && version.Major >= 5);
}

TVideoCard ReadVideoCard(const TWindowsVersion& version) {
    TRunTimeLibrary user("user32.dll");
    auto enumDevices = user.Function<decltype(EnumDisplayDevicesA)>("EnumDisplayDevicesA");
    if (enumDevices && HasDisplayDeviceCall(version)) {
        DISPLAY_DEVICEA device{};
        device.cb = sizeof device;
        if (!enumDevices(nullptr, 0, &device, 0))
            return {};
        return version.IsNT() ? NTDisplayDevice(device)
                              : Series95Card(device.DeviceString, device.DeviceKey);
    }
    return version.IsNT() ? NTDeviceMapCard() : Series95ClassCard();
}

} // namespace

std::string VideoCardValue(const TWindowsVersion& version) {
    const TVideoCard card = ReadVideoCard(version);
    return VideoCardText(card.Adapter, card.DriverVersion, card.MemoryBytes);
}
