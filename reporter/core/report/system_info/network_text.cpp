#include "reporter/core/report/system_info/network_text.h"

namespace {

constexpr size_t kAddressWidth = 15; // "000.000.000.000"

// The DHCP column is as wide as an address, so that the entries of all six lines stand
// under each other.
std::string DhcpEntry(bool enabled) {
    std::string entry = enabled ? "ON" : "OFF";
    entry.resize(kAddressWidth, ' ');
    return entry;
}

struct TNetworkColumn {
    const char* Key;
    std::string (*Entry)(const TAdapterAddresses&);
};

const TNetworkColumn kColumns[] = {
    {"7.1", [](const TAdapterAddresses& a) { return PaddedAddress(a.Address); }},
    {"7.2", [](const TAdapterAddresses& a) { return PaddedAddress(a.Mask); }},
    {"7.3", [](const TAdapterAddresses& a) { return PaddedAddress(a.Gateway); }},
    {"7.4", [](const TAdapterAddresses& a) { return PaddedAddress(a.Dns1); }},
    {"7.5", [](const TAdapterAddresses& a) { return PaddedAddress(a.Dns2); }},
    {"7.6", [](const TAdapterAddresses& a) { return DhcpEntry(a.Dhcp); }},
};

} // namespace

std::string PaddedAddress(const std::string& address) {
    if (address.empty())
        return "000.000.000.000";
    std::string padded;
    size_t start = 0;
    for (;;) {
        const size_t dot = address.find('.', start);
        std::string part = address.substr(start, dot - start);
        if (part.size() < 3)
            part.insert(0, 3 - part.size(), '0');
        padded += part;
        if (dot == std::string::npos)
            return padded;
        padded += '.';
        start = dot + 1;
    }
}

void AddNetworkFields(std::map<std::string, std::string>& fields,
                      const std::vector<TAdapterAddresses>& adapters) {
    for (const TNetworkColumn& column : kColumns) {
        std::string text;
        for (const TAdapterAddresses& adapter : adapters)
            text += (text.empty() ? "" : " - ") + column.Entry(adapter);
        fields[column.Key] = text;
    }
}
