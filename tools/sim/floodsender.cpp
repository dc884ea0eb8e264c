#include "floodsender.h"

#include <arpa/inet.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace sim {

FloodSender::FloodSender(uint32_t target, std::string interface) : interface_(std::move(interface))
{
    for (int service = 0; service < kServiceCount; ++service) {
        targets_[service].sin_family = AF_INET;
        targets_[service].sin_port = htons(PortOf(Service(service)));
        targets_[service].sin_addr.s_addr = htonl(target);
    }
}

FloodSender::~FloodSender()
{
    for (int fd : sockets_)
        if (fd >= 0)
            close(fd);
    if (anySender_ >= 0)
        close(anySender_);
}

bool FloodSender::Open(const std::vector<uint32_t>& deviceAddresses)
{
    // One socket per device: raise the descriptor limit as far as we are allowed.
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
    anySender_ = OpenSocket(INADDR_ANY);
    if (anySender_ < 0)
        return false;
    for (uint32_t address : deviceAddresses) {
        sockets_.push_back(OpenSocket(address));
        if (sockets_.back() < 0)
            return false;
    }
    return true;
}

int FloodSender::OpenSocket(uint32_t address)
{
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        perror("rigwise-flood: socket");
        return -1;
    }
    const int on = 1;
    // The simulator adds the device addresses; without it they are still ours to send from.
    setsockopt(fd, SOL_IP, IP_FREEBIND, &on, sizeof(on));
    if (!interface_.empty() && setsockopt(fd, SOL_SOCKET, SO_BINDTODEVICE, interface_.c_str(),
                                          socklen_t(interface_.size())) != 0) {
        fprintf(stderr, "rigwise-flood: cannot send through %s: %s\n", interface_.c_str(),
                strerror(errno));
        close(fd);
        return -1;
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(address);
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof(local)) != 0) {
        fprintf(stderr, "rigwise-flood: cannot bind %s: %s\n", AddressText(address).c_str(),
                strerror(errno));
        close(fd);
        return -1;
    }
    return fd;
}

int FloodSender::SocketOf(int sender) const
{
    return sender >= 0 && size_t(sender) < sockets_.size() ? sockets_[size_t(sender)]
                                                           : anySender_;
}

size_t FloodSender::Send(const std::vector<FloodDatagram>& batch)
{
    std::vector<mmsghdr> messages(batch.size());
    std::vector<iovec> pieces(batch.size());
    for (size_t i = 0; i < batch.size(); ++i) {
        pieces[i].iov_base = const_cast<uint8_t*>(batch[i].data);
        pieces[i].iov_len = batch[i].length;
        msghdr& header = messages[i].msg_hdr;
        header = msghdr{};
        header.msg_name = const_cast<sockaddr_in*>(&targets_[batch[i].service]);
        header.msg_namelen = sizeof(sockaddr_in);
        header.msg_iov = &pieces[i];
        header.msg_iovlen = 1;
    }
    size_t taken = 0;
    for (size_t first = 0; first < batch.size();) {
        size_t end = first + 1;
        while (end < batch.size() && SocketOf(batch[end].sender) == SocketOf(batch[first].sender))
            ++end;
        const int sent = sendmmsg(SocketOf(batch[first].sender), &messages[first],
                                  unsigned(end - first), 0);
        // A datagram the kernel refused (a full queue) is skipped, not retried: the rate is what
        // counts, and the loss shows in the report.
        const size_t done = sent > 0 ? size_t(sent) : 0;
        taken += done;
        first += done < end - first ? done + 1 : done;
    }
    return taken;
}

} // namespace sim
