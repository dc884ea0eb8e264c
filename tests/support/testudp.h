#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A plain UDP socket for tests: plays a device or another computer next to the endpoint under
// test. Only ever bound to loopback or namespace-private addresses.
class TestUdpSocket {
public:
    TestUdpSocket(const std::string& address, uint16_t port);
    ~TestUdpSocket();
    TestUdpSocket(const TestUdpSocket&) = delete;
    TestUdpSocket& operator=(const TestUdpSocket&) = delete;

    bool ok() const { return fd_ >= 0; }
    void EnableBroadcast();
    bool SendTo(const std::string& address, uint16_t port, const std::vector<uint8_t>& bytes);
    // Waits up to `timeoutMs` for one datagram; false when none came.
    bool Receive(std::vector<uint8_t>& bytes, int timeoutMs, std::string* sender = nullptr);

private:
    int fd_ = -1;
};

// Runs the GUI event loop (socket notifications, timers, pending events) until `done` holds or
// the time is up; returns whether `done` held.
bool PumpEventsUntil(const std::function<bool()>& done, int timeoutMs);
void PumpEventsFor(int milliseconds);
