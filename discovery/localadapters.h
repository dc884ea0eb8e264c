#pragma once

#include <cstdint>
#include <vector>

#include <wx/arrstr.h>

// One IPv4 address of this computer with its mask, as the operating system lists it.
struct exAdapterAddress {
    uint32_t address;
    uint32_t mask;
};

// The computer's usable IPv4 adapters: their addresses (whose datagrams the endpoints drop), their
// masks (for the reachability test) and their directed broadcast addresses (where every endpoint
// sends its broadcasts). All tables share the adapter order and are replaced as a whole.
class exLocalAdapters {
public:
    static constexpr size_t kMaxAdapters = 10;

    static exLocalAdapters& Instance();

    // Rebuilds the tables from the operating system's list and hands them to the endpoints.
    void Refresh();
    // Table building alone, over (address, mask) pairs in the order the system gave them.
    void Build(const std::vector<exAdapterAddress>& adapters);
    bool IsReachable(uint32_t ip) const;

    // Each interface's first IPv4 address and mask, in the order the system returns them.
    static std::vector<exAdapterAddress> QuerySystem();

    std::vector<uint32_t> localAddresses;
    std::vector<uint32_t> masks;
    std::vector<uint32_t> broadcastValues;
    wxArrayString broadcastAddresses;

private:
    void HandToEndpoints() const;
};

void RefreshAdapters();
bool IsReachable(uint32_t ip);
