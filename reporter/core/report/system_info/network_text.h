// How the network values are written: one entry per adapter, joined by " - ".
#pragma once
#include <map>
#include <string>
#include <vector>

// One adapter's addresses as the system gives them; an empty text stands for a missing one.
struct TAdapterAddresses {
    std::string Address;
    std::string Mask;
    std::string Gateway;
    bool Dhcp = false;
    std::string Dns1;
    std::string Dns2;
};

// "192.168.001.010" for "192.168.1.10"; "000.000.000.000" for none.
std::string PaddedAddress(const std::string& address);

// Fields 7.1 to 7.6 for the adapters in list order; all six are empty without adapters.
void AddNetworkFields(std::map<std::string, std::string>& fields,
                      const std::vector<TAdapterAddresses>& adapters);
