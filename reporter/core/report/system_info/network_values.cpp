// The adapters through the IP helper library, loaded on the first report that asks for them.
#include "reporter/base/phase_clock.h"
#include "reporter/base/run_time_library.h"
#include "reporter/core/report/system_info/system_groups.h"
#include <iphlpapi.h>

namespace {

struct THelperCalls {
    decltype(GetAdaptersInfo)* AdaptersInfo;
    decltype(GetPerAdapterInfo)* PerAdapterInfo;
};

// The buffer a size query asks for, filled by the second call; empty when either fails.
template <class Read> std::vector<uint8_t> SizedData(Read read) {
    ULONG size = 0;
    if (read(nullptr, &size) != ERROR_BUFFER_OVERFLOW || size == 0)
        return {};
    std::vector<uint8_t> data(size);
    if (read(data.data(), &size) != ERROR_SUCCESS)
        return {};
    return data;
}

// The adapter's first two DNS servers; both empty when the query fails.
void ReadDnsServers(const THelperCalls& calls, ULONG index, TAdapterAddresses& adapter) {
    const std::vector<uint8_t> data = SizedData([&](uint8_t* buffer, ULONG* size) {
        return calls.PerAdapterInfo(index, reinterpret_cast<IP_PER_ADAPTER_INFO*>(buffer), size);
    });
    if (data.empty())
        return;
    const IP_ADDR_STRING* first =
        &reinterpret_cast<const IP_PER_ADAPTER_INFO*>(data.data())->DnsServerList;
    adapter.Dns1 = first->IpAddress.String;
    if (first->Next)
        adapter.Dns2 = first->Next->IpAddress.String;
}

TAdapterAddresses Addresses(const THelperCalls& calls, const IP_ADAPTER_INFO& info) {
    TAdapterAddresses adapter;
    adapter.Address = info.IpAddressList.IpAddress.String;
    adapter.Mask = info.IpAddressList.IpMask.String;
    adapter.Gateway = info.GatewayList.IpAddress.String;
    adapter.Dhcp = info.DhcpEnabled != 0;
    ReadDnsServers(calls, info.Index, adapter);
    return adapter;
}

} // namespace

std::vector<TAdapterAddresses> ReadAdapters() {
    const TPhaseScope phase(TPhase::NetworkValues);
    // Loading it and the network libraries behind it costs more than reading the adapters, so it
    // stays loaded for the next report.
    static const TRunTimeLibrary helper("iphlpapi.dll");
    const THelperCalls calls{helper.Function<decltype(GetAdaptersInfo)>("GetAdaptersInfo"),
                             helper.Function<decltype(GetPerAdapterInfo)>("GetPerAdapterInfo")};
    if (!calls.AdaptersInfo || !calls.PerAdapterInfo)
        return {};
    const std::vector<uint8_t> data = SizedData([&](uint8_t* buffer, ULONG* size) {
        return calls.AdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer), size);
    });
    std::vector<TAdapterAddresses> adapters;
    if (data.empty())
        return adapters;
    for (auto* info = reinterpret_cast<const IP_ADAPTER_INFO*>(data.data()); info;
         info = info->Next)
        adapters.push_back(Addresses(calls, *info));
    return adapters;
}
