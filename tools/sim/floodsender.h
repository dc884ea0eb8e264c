#pragma once

#include <netinet/in.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "floodmix.h"

// Sends rigwise-flood's datagrams to the target's three ports: one socket per device bound to
// the device's address (ephemeral port), so that a device's replies come from its address, and
// one unbound socket for datagrams of no particular sender. A batch goes out with one sendmmsg
// per run of datagrams of the same sender.
namespace sim {

class FloodSender {
public:
    FloodSender(uint32_t target, std::string interface);
    ~FloodSender();
    FloodSender(const FloodSender&) = delete;
    FloodSender& operator=(const FloodSender&) = delete;

    // Opens the sockets; false with a message on stderr when one cannot be bound.
    bool Open(const std::vector<uint32_t>& deviceAddresses);
    // Sends the batch; returns how many datagrams the kernel took.
    size_t Send(const std::vector<FloodDatagram>& batch);

private:
    int OpenSocket(uint32_t address);
    int SocketOf(int sender) const;

    sockaddr_in targets_[kServiceCount] = {};
    std::string interface_;
    std::vector<int> sockets_; // per device
    int anySender_ = -1;
};

} // namespace sim
