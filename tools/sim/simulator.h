#pragma once

#include <cstdint>
#include <cstdio>
#include <istream>
#include <map>
#include <queue>
#include <random>
#include <string>
#include <vector>

#include <netinet/in.h>

#include "device.h"

// Plays every device of a list on one network namespace: one socket per device and port bound
// to the device's own address, one socket per port on 0.0.0.0 for broadcasts, one epoll loop.
namespace sim {

struct SimulatorOptions {
    std::string recordPath;  // every datagram received, one line each
    std::string controlPath; // Unix stream socket taking commands while running
    std::string interface;   // add the device addresses to this interface
    std::string readyPath;   // written once every socket is bound
    int dropPercent = 0;
    int delayMs = 0;
    int jitterMs = 0; // each answer waits a random 0..jitterMs more
    unsigned seed = 1;
    int durationSeconds = 0; // 0: until SIGINT, SIGTERM or "quit"
};

class Simulator {
public:
    Simulator(std::vector<Device> devices, SimulatorOptions options);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Adds addresses and binds every socket; false with a message on stderr when it cannot.
    bool Start();
    // Serves until told to stop; returns the exit status.
    int Run();

private:
    struct Pending {
        int64_t dueMs;
        uint64_t order;
        size_t device;
        Service service;
        sockaddr_in to;
        std::vector<uint8_t> bytes;
        bool operator>(const Pending& other) const
        {
            return dueMs != other.dueMs ? dueMs > other.dueMs : order > other.order;
        }
    };
    // A front-panel change from the device list, made when its time comes.
    struct DueChange {
        int64_t atMs;
        size_t device;
        size_t index; // in the device's panelChanges
        bool operator>(const DueChange& other) const
        {
            return atMs != other.atMs       ? atMs > other.atMs
                   : device != other.device ? device > other.device
                                            : index > other.index;
        }
    };
    struct ControlClient {
        int fd;
        std::string input;
    };

    int64_t NowMs() const;
    bool AddAddresses(const std::vector<size_t>& devices);
    bool OpenDeviceSockets(size_t device);
    void CloseDeviceSockets(size_t device);
    int OpenSocket(uint32_t address, uint16_t port, bool broadcastReceiver);
    bool Watch(int fd, uint64_t tag);

    void ReadSocket(int fd, size_t device, Service service, bool wildcard);
    void Record(const sockaddr_in& from, uint32_t destination, Service service, const uint8_t* data,
                size_t length);
    void Deliver(size_t device, Service service, const sockaddr_in& from, const uint8_t* data,
                 size_t length);
    bool Answering(const Device& device) const;
    void SendAfter(int64_t delayMs, size_t device, Service service, const sockaddr_in& to,
                   const std::vector<uint8_t>& bytes);
    void SendDue();
    void Send(size_t device, Service service, const sockaddr_in& to,
              const std::vector<uint8_t>& bytes);
    void MakeDueChanges();

    void AcceptControl();
    void ReadControl(int fd);
    std::string Execute(const std::string& line);
    // A device index, or a device range from "N" or "all" ([first, last)).
    bool ReadDevice(std::istream& words, size_t& index) const;
    bool ReadDevices(std::istream& words, size_t& first, size_t& last) const;
    std::string StopCommand(std::istream& words);
    std::string ResumeCommand(std::istream& words);
    std::string SetStopped(std::istream& words, bool stopped);
    std::string ModuleCommand(std::istream& words);
    std::string AddressCommand(std::istream& words);
    std::string DropCommand(std::istream& words);
    std::string DelayCommand(std::istream& words);
    std::string TwiceCommand(std::istream& words);
    std::string SpoilCommand(std::istream& words);
    std::string IgnoreCommand(std::istream& words);
    std::string JitterCommand(std::istream& words);
    // "NAME MS" sets `everyDevice`, "NAME N MS" device N's `own` setting, MS up to `longest`.
    std::string MillisecondsCommand(std::istream& words, const std::string& name, long longest,
                                    int& everyDevice, int Device::*own);
    std::string PauseCommand(std::istream& words);
    std::string RenameCommand(std::istream& words);
    std::string PortCommand(std::istream& words);
    std::string SpeedCommand(std::istream& words);
    std::string Change(size_t device, const PanelChange& change);
    std::string QuitCommand(std::istream& words);

    std::vector<Device> devices_;
    SimulatorOptions options_;
    std::vector<int> sockets_; // device * kServiceCount + service
    int wildcard_[kServiceCount] = {-1, -1, -1};
    std::map<uint32_t, size_t> byAddress_;
    int epoll_ = -1;
    int signals_ = -1;
    int controlListener_ = -1;
    std::map<int, ControlClient> controlClients_;
    FILE* record_ = nullptr;
    std::priority_queue<Pending, std::vector<Pending>, std::greater<Pending>> pending_;
    uint64_t order_ = 0;
    std::priority_queue<DueChange, std::vector<DueChange>, std::greater<DueChange>> changes_;
    std::mt19937 random_;
    int64_t startMs_ = 0;
    bool quit_ = false;
};

} // namespace sim
