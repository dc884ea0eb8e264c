#include "discovery/localadapters.h"

#include <ifaddrs.h>
#include <netinet/in.h>

#include <algorithm>
#include <string>

#include "common/appstate.h"
#include "net/artnetsocket.h"
#include "net/ipv4.h"
#include "net/kivnetsocket.h"
#include "net/updatesocket.h"

namespace {

bool IsUsableAddress(uint32_t address)
{
    const uint32_t firstOctet = address >> 24;
    return firstOctet != 127 && firstOctet < 224;
}

uint32_t HostOrder(const sockaddr* address)
{
    return ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr);
}

} // namespace

exLocalAdapters& exLocalAdapters::Instance()
{
    static exLocalAdapters adapters;
    return adapters;
}

void exLocalAdapters::Refresh()
{
    Build(QuerySystem());
    HandToEndpoints();
}

void exLocalAdapters::Build(const std::vector<exAdapterAddress>& adapters)
{
    localAddresses.clear();
    masks.clear();
    broadcastValues.clear();
    broadcastAddresses.clear();
    const size_t considered = std::min(adapters.size(), kMaxAdapters);
    for (size_t i = 0; i < considered; ++i) {
        const exAdapterAddress& adapter = adapters[i];
        if (!IsUsableAddress(adapter.address))
            continue;
        const uint32_t broadcast = adapter.address | ~adapter.mask;
        broadcastAddresses.Add(FormatIpAddress(broadcast));
        broadcastValues.push_back(broadcast);
        masks.push_back(adapter.mask);
        localAddresses.push_back(adapter.address);
    }
}

bool exLocalAdapters::IsReachable(uint32_t ip) const
{
    if (ip == 0)
        return true;
    if (localAddresses.empty() || localAddresses.size() != masks.size())
        return false;
    for (size_t i = 0; i < localAddresses.size(); ++i) {
        const uint32_t subnet = localAddresses[i] & masks[i];
        if ((ip & masks[i]) == subnet && subnet != 0)
            return true;
    }
    return false;
}

std::vector<exAdapterAddress> exLocalAdapters::QuerySystem()
{
    std::vector<exAdapterAddress> adapters;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return adapters;
    std::vector<std::string> seenInterfaces;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || !entry->ifa_netmask)
            continue;
        const std::string name = entry->ifa_name ? entry->ifa_name : "";
        if (std::find(seenInterfaces.begin(), seenInterfaces.end(), name) != seenInterfaces.end())
            continue;
        seenInterfaces.push_back(name);
        adapters.push_back({HostOrder(entry->ifa_addr), HostOrder(entry->ifa_netmask)});
    }
    freeifaddrs(list);
    return adapters;
}

void exLocalAdapters::HandToEndpoints() const
{
    bxBaseSocket* endpoints[] = {exAppState::kivnetSocket, exAppState::artNetSocket,
                                 exAppState::updateSocket};
    for (bxBaseSocket* endpoint : endpoints) {
        if (!endpoint)
            continue;
        endpoint->broadcastAddresses = broadcastAddresses;
        endpoint->ownAddresses = localAddresses;
    }
}

void RefreshAdapters()
{
    exLocalAdapters::Instance().Refresh();
}

bool IsReachable(uint32_t ip)
{
    return exLocalAdapters::Instance().IsReachable(ip);
}
