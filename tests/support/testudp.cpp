#include "support/testudp.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <wx/app.h>
#include <wx/evtloop.h>

namespace {

sockaddr_in MakeAddress(const std::string& address, uint16_t port)
{
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_port = htons(port);
    inet_pton(AF_INET, address.c_str(), &socketAddress.sin_addr);
    return socketAddress;
}

} // namespace

TestUdpSocket::TestUdpSocket(const std::string& address, uint16_t port)
{
    fd_ = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd_ < 0)
        return;
    const sockaddr_in local = MakeAddress(address, port);
    if (bind(fd_, reinterpret_cast<const sockaddr*>(&local), sizeof(local)) != 0) {
        close(fd_);
        fd_ = -1;
    }
}

TestUdpSocket::~TestUdpSocket()
{
    if (fd_ >= 0)
        close(fd_);
}

void TestUdpSocket::EnableBroadcast()
{
    int enable = 1;
    setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &enable, sizeof(enable));
}

bool TestUdpSocket::SendTo(const std::string& address, uint16_t port,
                           const std::vector<uint8_t>& bytes)
{
    const sockaddr_in destination = MakeAddress(address, port);
    const ssize_t sent = sendto(fd_, bytes.data(), bytes.size(), 0,
                                reinterpret_cast<const sockaddr*>(&destination),
                                sizeof(destination));
    return sent == static_cast<ssize_t>(bytes.size());
}

bool TestUdpSocket::Receive(std::vector<uint8_t>& bytes, int timeoutMs, std::string* sender)
{
    pollfd waiting{fd_, POLLIN, 0};
    if (poll(&waiting, 1, timeoutMs) <= 0)
        return false;
    bytes.resize(65536);
    sockaddr_in from{};
    socklen_t fromLength = sizeof(from);
    const ssize_t received =
        recvfrom(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (received < 0)
        return false;
    bytes.resize(received);
    if (sender) {
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &from.sin_addr, text, sizeof(text));
        *sender = text;
    }
    return true;
}

bool PumpEventsUntil(const std::function<bool()>& done, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        wxEventLoopBase* loop = wxEventLoopBase::GetActive();
        if (loop)
            loop->YieldFor(wxEVT_CATEGORY_ALL);
        if (wxTheApp) {
            wxTheApp->ProcessPendingEvents();
            // Idle time is when closed windows are finally destroyed.
            wxTheApp->ProcessIdle();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void PumpEventsFor(int milliseconds)
{
    PumpEventsUntil([] { return false; }, milliseconds);
}
