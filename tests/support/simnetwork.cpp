#include "support/simnetwork.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

int64_t NowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

std::vector<char*> ArgumentVector(const std::vector<std::string>& arguments)
{
    std::vector<char*> vector;
    for (const std::string& argument : arguments)
        vector.push_back(const_cast<char*>(argument.c_str()));
    vector.push_back(nullptr);
    return vector;
}

// Children die with the test process, so a crashed run leaves no simulator behind.
pid_t Spawn(const std::vector<std::string>& arguments)
{
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        std::vector<char*> vector = ArgumentVector(arguments);
        execv(vector[0], vector.data());
        _exit(127);
    }
    return pid;
}

std::vector<uint8_t> FromHex(const std::string& text)
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2)
        bytes.push_back(uint8_t(std::stoul(text.substr(i, 2), nullptr, 16)));
    return bytes;
}

bool SplitAddress(const std::string& text, std::string& address, uint16_t& port)
{
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos)
        return false;
    address = text.substr(0, colon);
    port = uint16_t(std::stoul(text.substr(colon + 1)));
    return true;
}

} // namespace

SimNetwork::SimNetwork()
{
    static std::atomic<int> counter{0};
    name_ = "t" + std::to_string(getpid()) + "x" + std::to_string(++counter);
    char directory[] = "/tmp/rigwise-simnet-XXXXXX";
    if (!mkdtemp(directory))
        return;
    directory_ = directory;
    RunScript({"sweep"});
    ok_ = RunScript({"up", name_});
}

SimNetwork::~SimNetwork()
{
    StopSimulator();
    RunScript({"down", name_});
    if (!directory_.empty())
        std::system(("rm -rf '" + directory_ + "'").c_str());
}

bool SimNetwork::RunScript(const std::vector<std::string>& arguments) const
{
    std::vector<std::string> command{RIGWISE_SIMNET_SCRIPT};
    command.insert(command.end(), arguments.begin(), arguments.end());
    const pid_t pid = Spawn(command);
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

bool SimNetwork::StartSimulator(const std::string& deviceJson,
                                const std::vector<std::string>& extraFlags)
{
    if (!ok_ || simulatorPid_ > 0)
        return false;
    const std::string devices = directory_ + "/devices.json";
    const std::string ready = directory_ + "/ready";
    std::ofstream(devices) << deviceJson;
    unlink(ready.c_str());
    std::vector<std::string> command{RIGWISE_SIMNET_SCRIPT, "sim",        name_,
                                     RIGWISE_SIM_BINARY,    "--devices",  devices,
                                     "--interface",         "rws-" + name_,
                                     "--record",            directory_ + "/record",
                                     "--control",           directory_ + "/control",
                                     "--ready-file",        ready,
                                     "--duration",          "600"};
    command.insert(command.end(), extraFlags.begin(), extraFlags.end());
    simulatorPid_ = Spawn(command);
    const int64_t end = NowMs() + 15000;
    while (NowMs() < end) {
        if (access(ready.c_str(), R_OK) == 0)
            return true;
        int status = 0;
        if (waitpid(simulatorPid_, &status, WNOHANG) == simulatorPid_) {
            simulatorPid_ = -1;
            return false;
        }
        usleep(20000);
    }
    StopSimulator();
    return false;
}

void SimNetwork::StopSimulator()
{
    if (simulatorPid_ > 0)
        StopProcess(simulatorPid_);
    simulatorPid_ = -1;
}

void SimNetwork::StopProcess(pid_t pid)
{
    kill(pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 250; ++i) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return;
        usleep(20000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
}

std::string SimNetwork::Control(const std::string& command) const
{
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof(address.sun_path), "%s/control", directory_.c_str());
    if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        if (fd >= 0)
            close(fd);
        return "error no control socket";
    }
    const std::string line = command + "\n";
    std::string answer;
    if (write(fd, line.data(), line.size()) == ssize_t(line.size())) {
        char c;
        pollfd waiting{fd, POLLIN, 0};
        while (poll(&waiting, 1, 5000) > 0 && read(fd, &c, 1) == 1 && c != '\n')
            answer.push_back(c);
    }
    close(fd);
    return answer;
}

std::vector<SimNetwork::Record> SimNetwork::Received() const
{
    std::vector<Record> records;
    std::ifstream file(directory_ + "/record");
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string time, sender, destination, hex;
        Record record;
        if (fields >> time >> sender >> destination >> hex &&
            SplitAddress(sender, record.sender, record.senderPort) &&
            SplitAddress(destination, record.destination, record.port)) {
            record.bytes = FromHex(hex);
            records.push_back(record);
        }
    }
    return records;
}

pid_t SimNetwork::StartOnProgramSide(const std::vector<std::string>& command) const
{
    std::vector<std::string> full{RIGWISE_SIMNET_SCRIPT, "prog", name_};
    full.insert(full.end(), command.begin(), command.end());
    return Spawn(full);
}

ProgramSide::ProgramSide(const SimNetwork& network)
{
    home_ = open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
    const int target =
        open(("/run/netns/" + network.ProgramNamespace()).c_str(), O_RDONLY | O_CLOEXEC);
    entered_ = home_ >= 0 && target >= 0 && setns(target, CLONE_NEWNET) == 0;
    if (target >= 0)
        close(target);
}

ProgramSide::~ProgramSide()
{
    if (entered_)
        setns(home_, CLONE_NEWNET);
    if (home_ >= 0)
        close(home_);
}

SimClient::SimClient(uint16_t port)
{
    fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0)
        return;
    const int on = 1;
    setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof(on));
    const int buffer = 16 << 20;
    setsockopt(fd_, SOL_SOCKET, SO_RCVBUFFORCE, &buffer, sizeof(buffer));
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    if (bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof(local)) != 0) {
        close(fd_);
        fd_ = -1;
    }
}

SimClient::~SimClient()
{
    if (fd_ >= 0)
        close(fd_);
}

bool SimClient::SendTo(const std::string& address, uint16_t port,
                       const std::vector<uint8_t>& bytes)
{
    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_port = htons(port);
    inet_pton(AF_INET, address.c_str(), &destination.sin_addr);
    return sendto(fd_, bytes.data(), bytes.size(), 0,
                  reinterpret_cast<const sockaddr*>(&destination),
                  sizeof(destination)) == ssize_t(bytes.size());
}

std::vector<SimClient::Datagram> SimClient::Receive(size_t count, int quietMs, int limitMs)
{
    std::vector<Datagram> datagrams;
    const int64_t end = NowMs() + limitMs;
    while (datagrams.size() < count) {
        const int64_t left = end - NowMs();
        pollfd waiting{fd_, POLLIN, 0};
        if (left <= 0 || poll(&waiting, 1, int(std::min<int64_t>(left, quietMs))) <= 0)
            break;
        std::vector<uint8_t> bytes(65536);
        sockaddr_in from{};
        socklen_t fromLength = sizeof(from);
        const ssize_t received = recvfrom(fd_, bytes.data(), bytes.size(), 0,
                                          reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (received < 0)
            break;
        bytes.resize(size_t(received));
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &from.sin_addr, text, sizeof(text));
        datagrams.push_back({text, ntohs(from.sin_port), std::move(bytes)});
    }
    return datagrams;
}

std::vector<uint8_t> SimClient::Ask(const std::string& address, uint16_t port,
                                    const std::vector<uint8_t>& request, std::string* sender)
{
    SendTo(address, port, request);
    const std::vector<Datagram> answers = Receive(1, 500, 2000);
    if (answers.empty())
        return {};
    if (sender)
        *sender = answers[0].sender;
    return answers[0].bytes;
}

bool EnterProgramSide(const SimNetwork& network, std::unique_ptr<ProgramSide>& side,
                      std::unique_ptr<SimClient>& client)
{
    side = std::make_unique<ProgramSide>(network);
    if (!side->ok())
        return false;
    client = std::make_unique<SimClient>();
    return client->ok();
}
