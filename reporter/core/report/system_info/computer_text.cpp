#include "reporter/core/report/system_info/computer_text.h"
#include "runtime/format.h"
#include "runtime/text.h"
#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

constexpr double kMegabyte = 1048576.0;
constexpr double kGigabyte = 1073741824.0;

// The position of the first "\SYSTEM" in any letter case.
size_t SystemPosition(const std::string& text) {
    std::string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    return upper.find("\\SYSTEM");
}

// "\\server\share": the first two names after the leading "\\".
std::string ShareOf(const std::string& path) {
    const size_t server = path.find('\\', 2);
    if (server == std::string::npos)
        return {};
    const size_t share = path.find('\\', server + 1);
    return path.substr(0, share);
}

} // namespace

std::string MegabytesText(uint64_t bytes) {
    return Format("%llu Mb", static_cast<unsigned long long>(std::llround(bytes / kMegabyte)));
}

std::string GigabytesText(uint64_t bytes) {
    std::string number = Format("%.2f", bytes / kGigabyte);
    number.erase(number.find_last_not_of('0') + 1);
    if (number.back() == '.')
        number.pop_back();
    return number + " Gb";
}

std::string DriveRootOf(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':')
        return path.substr(0, 2) + "\\";
    if (path.rfind("\\\\", 0) == 0) {
        const std::string share = ShareOf(path);
        return share.empty() ? std::string() : share + "\\";
    }
    return {};
}

std::string ProcessorText(const std::string& name, const std::string& vendor,
                          const std::string& identifier) {
    if (!Trim(name).empty())
        return Trim(name);
    if (Trim(vendor).empty())
        return "Unknown processor";
    if (Trim(identifier).empty())
        return Trim(vendor);
    return Trim(vendor) + " - " + Trim(identifier);
}

std::string VideoCardText(const std::string& adapter, const std::string& driverVersion,
                          uint32_t memoryBytes) {
    if (Trim(adapter).empty())
        return {};
    const std::string memory =
        memoryBytes ? Format(" - RAM %lu MB", static_cast<unsigned long>(memoryBytes / 1048576))
                    : std::string();
    return Trim(adapter) + " (driver " + driverVersion + memory + ")";
}

std::string DeviceMapKey(const std::string& entry) {
    const size_t position = SystemPosition(entry);
    return position == std::string::npos ? std::string() : entry.substr(position);
}
