#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A private network for end-to-end tests: the device simulator plays a rack on one side
// (namespace rwsim-NAME), the test or the program runs on the other (rwprog-NAME). Both are
// made by tools/simnet.sh with a name of their own and torn down by the destructor; networks
// left behind by a crashed run are swept away by the next one.
class SimNetwork {
public:
    static constexpr const char* kProgramAddress = "10.202.0.1";

    SimNetwork();
    ~SimNetwork();
    SimNetwork(const SimNetwork&) = delete;
    SimNetwork& operator=(const SimNetwork&) = delete;

    bool ok() const { return ok_; }
    const std::string& Name() const { return name_; }
    std::string ProgramNamespace() const { return "rwprog-" + name_; }

    // Starts rigwise-sim with this device list (JSON text) and extra flags, and waits until
    // every device socket is bound. The device addresses are added by the simulator.
    bool StartSimulator(const std::string& deviceJson,
                        const std::vector<std::string>& extraFlags = {});
    void StopSimulator();
    pid_t SimulatorPid() const { return simulatorPid_; }

    // One command on the simulator's control socket ("stop 2", "module 3 1 8", ...); returns
    // its answer line ("ok" or "error ...").
    std::string Control(const std::string& command) const;

    struct Record {
        std::string sender;
        uint16_t senderPort = 0;
        std::string destination; // 255.255.255.255 for a broadcast
        uint16_t port = 0;       // 6464, 6517 or 6454
        std::vector<uint8_t> bytes;
    };
    // Every datagram the simulator received so far, in order.
    std::vector<Record> Received() const;

    // Starts a command on the program's side (for example the program under the test's
    // display); StopProcess ends it.
    pid_t StartOnProgramSide(const std::vector<std::string>& command) const;
    static void StopProcess(pid_t pid);

private:
    bool RunScript(const std::vector<std::string>& arguments) const;

    std::string name_;
    std::string directory_;
    pid_t simulatorPid_ = -1;
    bool ok_ = false;
};

// While alive, the calling thread works on the program's side of a SimNetwork: sockets opened
// meanwhile belong to that namespace (and stay there after it ends).
class ProgramSide {
public:
    explicit ProgramSide(const SimNetwork& network);
    ~ProgramSide();
    ProgramSide(const ProgramSide&) = delete;
    ProgramSide& operator=(const ProgramSide&) = delete;
    bool ok() const { return entered_; }

private:
    int home_ = -1;
    bool entered_ = false;
};

class SimClient;

// Enters the program's side of `network` and opens a client socket there: what a test talks to
// the simulator through. False when either failed.
bool EnterProgramSide(const SimNetwork& network, std::unique_ptr<ProgramSide>& side,
                      std::unique_ptr<SimClient>& client);

// A UDP socket that plays the program: bound to the program's address (any port, or a given
// one), broadcasts allowed, and a receive buffer big enough for a thousand answers at once.
class SimClient {
public:
    explicit SimClient(uint16_t port = 0);
    ~SimClient();
    SimClient(const SimClient&) = delete;
    SimClient& operator=(const SimClient&) = delete;

    bool ok() const { return fd_ >= 0; }
    bool SendTo(const std::string& address, uint16_t port, const std::vector<uint8_t>& bytes);

    struct Datagram {
        std::string sender;
        uint16_t senderPort = 0;
        std::vector<uint8_t> bytes;
    };
    // Datagrams that arrive until `count` have come or no more arrive for `quietMs`; never
    // waits longer than `limitMs` in all.
    std::vector<Datagram> Receive(size_t count, int quietMs = 1000, int limitMs = 10000);
    // Sends a request and returns the one answer, or an empty datagram when none came;
    // `sender` (if given) receives the answering address.
    std::vector<uint8_t> Ask(const std::string& address, uint16_t port,
                             const std::vector<uint8_t>& request, std::string* sender = nullptr);

private:
    int fd_ = -1;
};
