#include "simulator.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace sim {

namespace {

enum Tag : uint64_t {
    kDeviceSocket = 1,
    kWildcardSocket = 2,
    kSignals = 3,
    kControlListener = 4,
    kControlClient = 5,
};

constexpr long kLongestWaitMs = 3600000;

uint64_t MakeTag(Tag kind, uint64_t value)
{
    return uint64_t(kind) << 48 | value;
}

int PrefixLength(uint32_t mask)
{
    int length = 0;
    while (length < 32 && (mask & (0x80000000u >> length)))
        ++length;
    // A mask with holes in it cannot be a prefix; the address then stands alone.
    return (length == 32 || (mask << length) == 0) ? length : 32;
}

bool ValidInterfaceName(const std::string& name)
{
    if (name.empty() || name.size() > 15)
        return false;
    for (char c : name)
        if (!isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.')
            return false;
    return true;
}

// The simulator cannot tell a broadcast from a unicast to an address of the namespace that
// belongs to no device; a destination ending in .255 (or 255.255.255.255) counts as broadcast.
bool LooksLikeBroadcast(uint32_t destination)
{
    return (destination & 0xFF) == 0xFF;
}

std::string Hex(const uint8_t* data, size_t length)
{
    static const char digits[] = "0123456789abcdef";
    std::string text(length * 2, '0');
    for (size_t i = 0; i < length; ++i) {
        text[2 * i] = digits[data[i] >> 4];
        text[2 * i + 1] = digits[data[i] & 0x0F];
    }
    return text;
}

} // namespace

Simulator::Simulator(std::vector<Device> devices, SimulatorOptions options)
    : devices_(std::move(devices)), options_(std::move(options)), random_(options_.seed)
{
    sockets_.assign(devices_.size() * kServiceCount, -1);
}

Simulator::~Simulator()
{
    for (int fd : sockets_)
        if (fd >= 0)
            close(fd);
    for (int fd : wildcard_)
        if (fd >= 0)
            close(fd);
    for (auto& client : controlClients_)
        close(client.first);
    if (controlListener_ >= 0) {
        close(controlListener_);
        unlink(options_.controlPath.c_str());
    }
    if (signals_ >= 0)
        close(signals_);
    if (epoll_ >= 0)
        close(epoll_);
    if (record_)
        fclose(record_);
}

int64_t Simulator::NowMs() const
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000 - startMs_;
}

bool Simulator::Start()
{
    startMs_ = NowMs();
    // Three sockets per device: raise the descriptor limit as far as we are allowed.
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
    signal(SIGPIPE, SIG_IGN);
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    signals_ = signalfd(-1, &stopSignals, SFD_NONBLOCK | SFD_CLOEXEC);

    epoll_ = epoll_create1(EPOLL_CLOEXEC);
    if (epoll_ < 0 || signals_ < 0 || !Watch(signals_, MakeTag(kSignals, 0)))
        return false;

    if (!options_.recordPath.empty()) {
        record_ = fopen(options_.recordPath.c_str(), "w");
        if (!record_) {
            fprintf(stderr, "rigwise-sim: cannot write %s\n", options_.recordPath.c_str());
            return false;
        }
    }

    std::vector<size_t> all;
    for (size_t i = 0; i < devices_.size(); ++i) {
        all.push_back(i);
        byAddress_[devices_[i].ip] = i;
        for (size_t change = 0; change < devices_[i].panelChanges.size(); ++change)
            changes_.push({devices_[i].panelChanges[change].atMs, i, change});
    }
    if (!options_.interface.empty() && !AddAddresses(all))
        return false;
    for (size_t i = 0; i < devices_.size(); ++i)
        if (!OpenDeviceSockets(i))
            return false;
    for (int service = 0; service < kServiceCount; ++service) {
        wildcard_[service] = OpenSocket(INADDR_ANY, PortOf(Service(service)), true);
        if (wildcard_[service] < 0 ||
            !Watch(wildcard_[service], MakeTag(kWildcardSocket, uint64_t(service))))
            return false;
    }

    if (!options_.controlPath.empty()) {
        controlListener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_un local{};
        local.sun_family = AF_UNIX;
        if (options_.controlPath.size() >= sizeof(local.sun_path))
            return false;
        std::strcpy(local.sun_path, options_.controlPath.c_str());
        unlink(options_.controlPath.c_str());
        if (controlListener_ < 0 ||
            bind(controlListener_, reinterpret_cast<sockaddr*>(&local), sizeof(local)) != 0 ||
            listen(controlListener_, 8) != 0 ||
            !Watch(controlListener_, MakeTag(kControlListener, 0))) {
            fprintf(stderr, "rigwise-sim: cannot listen on %s: %s\n", options_.controlPath.c_str(),
                    strerror(errno));
            return false;
        }
    }

    if (!options_.readyPath.empty()) {
        FILE* ready = fopen(options_.readyPath.c_str(), "w");
        if (!ready)
            return false;
        fprintf(ready, "%d\n", int(getpid()));
        fclose(ready);
    }
    return true;
}

bool Simulator::Watch(int fd, uint64_t tag)
{
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u64 = tag;
    return epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event) == 0;
}

bool Simulator::AddAddresses(const std::vector<size_t>& devices)
{
    if (!ValidInterfaceName(options_.interface)) {
        fprintf(stderr, "rigwise-sim: bad interface name\n");
        return false;
    }
    // One ip process for the lot: a thousand separate calls would take seconds.
    FILE* batch = popen("ip -force -batch -", "w");
    if (!batch)
        return false;
    for (size_t index : devices) {
        const Device& device = devices_[index];
        fprintf(batch, "address replace %s/%d dev %s\n", AddressText(device.ip).c_str(),
                PrefixLength(device.mask), options_.interface.c_str());
    }
    if (pclose(batch) != 0)
        fprintf(stderr, "rigwise-sim: adding addresses to %s failed\n", options_.interface.c_str());
    return true;
}

int Simulator::OpenSocket(uint32_t address, uint16_t port, bool broadcastReceiver)
{
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const int on = 1;
    // The devices' sockets and the broadcast socket share each port number: that needs
    // SO_REUSEADDR on all of them. Only simulated devices do this, never the program.
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
    setsockopt(fd, SOL_IP, IP_FREEBIND, &on, sizeof(on));
    if (broadcastReceiver) {
        setsockopt(fd, SOL_IP, IP_PKTINFO, &on, sizeof(on));
        const int buffer = 4 << 20;
        setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &buffer, sizeof(buffer));
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    local.sin_addr.s_addr = htonl(address);
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof(local)) != 0) {
        fprintf(stderr, "rigwise-sim: cannot bind %s:%u: %s\n", AddressText(address).c_str(), port,
                strerror(errno));
        close(fd);
        return -1;
    }
    return fd;
}

bool Simulator::OpenDeviceSockets(size_t device)
{
    for (int service = 0; service < kServiceCount; ++service) {
        const size_t slot = device * kServiceCount + size_t(service);
        sockets_[slot] = OpenSocket(devices_[device].ip, PortOf(Service(service)), false);
        if (sockets_[slot] < 0 || !Watch(sockets_[slot], MakeTag(kDeviceSocket, slot)))
            return false;
    }
    return true;
}

void Simulator::CloseDeviceSockets(size_t device)
{
    for (int service = 0; service < kServiceCount; ++service) {
        int& fd = sockets_[device * kServiceCount + size_t(service)];
        if (fd >= 0)
            close(fd); // closing also takes it out of the epoll set
        fd = -1;
    }
}

int Simulator::Run()
{
    const int64_t endMs = options_.durationSeconds > 0 ? options_.durationSeconds * 1000LL : -1;
    epoll_event events[64];
    while (!quit_) {
        int64_t waitMs = -1;
        if (!pending_.empty())
            waitMs = std::max<int64_t>(0, pending_.top().dueMs - NowMs());
        if (!changes_.empty()) {
            const int64_t change = std::max<int64_t>(0, changes_.top().atMs - NowMs());
            waitMs = waitMs < 0 ? change : std::min(waitMs, change);
        }
        if (endMs >= 0) {
            const int64_t left = std::max<int64_t>(0, endMs - NowMs());
            waitMs = waitMs < 0 ? left : std::min(waitMs, left);
            if (left == 0)
                break;
        }
        const int ready = epoll_wait(epoll_, events, 64, int(waitMs));
        if (ready < 0 && errno != EINTR)
            return 1;
        // Before the datagrams: what the front panel changed by now is in every answer.
        MakeDueChanges();
        for (int i = 0; i < ready; ++i) {
            const uint64_t tag = events[i].data.u64;
            const uint64_t value = tag & 0xFFFFFFFFFFFFull;
            switch (Tag(tag >> 48)) {
            case kDeviceSocket:
                if (sockets_[value] >= 0)
                    ReadSocket(sockets_[value], value / kServiceCount,
                               Service(value % kServiceCount), false);
                break;
            case kWildcardSocket:
                ReadSocket(wildcard_[value], 0, Service(value), true);
                break;
            case kSignals:
                quit_ = true;
                break;
            case kControlListener:
                AcceptControl();
                break;
            case kControlClient:
                ReadControl(int(value));
                break;
            }
        }
        SendDue();
    }
    return 0;
}

void Simulator::ReadSocket(int fd, size_t device, Service service, bool wildcard)
{
    static uint8_t buffer[65536];
    for (;;) {
        sockaddr_in from{};
        char control[CMSG_SPACE(sizeof(in_pktinfo))];
        iovec data{buffer, sizeof(buffer)};
        msghdr message{};
        message.msg_name = &from;
        message.msg_namelen = sizeof(from);
        message.msg_iov = &data;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof(control);
        const ssize_t received = recvmsg(fd, &message, MSG_DONTWAIT);
        if (received < 0)
            return;
        uint32_t destination = wildcard ? 0 : devices_[device].ip;
        for (cmsghdr* header = CMSG_FIRSTHDR(&message); header;
             header = CMSG_NXTHDR(&message, header))
            if (header->cmsg_level == SOL_IP && header->cmsg_type == IP_PKTINFO) {
                in_pktinfo info;
                std::memcpy(&info, CMSG_DATA(header), sizeof(info));
                destination = ntohl(info.ipi_addr.s_addr);
            }
        const size_t length = size_t(received);
        Record(from, destination, service, buffer, length);
        if (!wildcard) {
            Deliver(device, service, from, buffer, length);
        } else if (auto found = byAddress_.find(destination); found != byAddress_.end()) {
            Deliver(found->second, service, from, buffer, length);
        } else if (LooksLikeBroadcast(destination)) {
            for (size_t i = 0; i < devices_.size(); ++i)
                Deliver(i, service, from, buffer, length);
        }
    }
}

void Simulator::Record(const sockaddr_in& from, uint32_t destination, Service service,
                       const uint8_t* data, size_t length)
{
    if (!record_)
        return;
    const int64_t now = NowMs();
    fprintf(record_, "%lld.%03lld %s:%u %s:%u %s\n", static_cast<long long>(now / 1000),
            static_cast<long long>(now % 1000), AddressText(ntohl(from.sin_addr.s_addr)).c_str(),
            ntohs(from.sin_port), AddressText(destination).c_str(), PortOf(service),
            Hex(data, length).c_str());
    fflush(record_);
}

bool Simulator::Answering(const Device& device) const
{
    if (device.stopped || (device.stopAtMs >= 0 && NowMs() >= device.stopAtMs))
        return false;
    if (device.pauseUntilMs < 0)
        return true;
    const int64_t now = NowMs();
    return now < device.pauseFromMs || now >= device.pauseUntilMs;
}

void Simulator::Deliver(size_t index, Service service, const sockaddr_in& from, const uint8_t* data,
                        size_t length)
{
    Device& device = devices_[index];
    if (!Answering(device))
        return;
    const int dropPercent = device.dropPercent >= 0 ? device.dropPercent : options_.dropPercent;
    if (dropPercent > 0 && int(random_() % 100) < dropPercent)
        return;
    const uint32_t oldAddress = device.ip;
    Outcome outcome = HandleDatagram(device, service, data, length);
    if (outcome.addressChanged) {
        byAddress_.erase(oldAddress);
        byAddress_[device.ip] = index;
        CloseDeviceSockets(index);
        if (!options_.interface.empty())
            AddAddresses({index});
        if (!OpenDeviceSockets(index))
            fprintf(stderr, "rigwise-sim: device %zu cannot answer from %s\n", index,
                    AddressText(device.ip).c_str());
    }
    const int delayMs = device.delayMs >= 0 ? device.delayMs : options_.delayMs;
    const int jitterMs = device.jitterMs >= 0 ? device.jitterMs : options_.jitterMs;
    // A device that answers twice sends the second copy one delay after the first. Every copy
    // draws its own jitter, so a later answer may overtake an earlier one.
    const int copies = service == kKivnet && device.answerTwice ? 2 : 1;
    for (const std::vector<uint8_t>& answer : outcome.answers)
        for (int copy = 1; copy <= copies; ++copy) {
            int64_t waitMs = int64_t(delayMs) * copy;
            if (jitterMs > 0)
                waitMs += int64_t(random_() % (unsigned(jitterMs) + 1));
            SendAfter(waitMs, index, service, from, answer);
        }
}

void Simulator::SendAfter(int64_t delayMs, size_t device, Service service, const sockaddr_in& to,
                          const std::vector<uint8_t>& bytes)
{
    if (delayMs <= 0)
        Send(device, service, to, bytes);
    else
        pending_.push({NowMs() + delayMs, order_++, device, service, to, bytes});
}

void Simulator::SendDue()
{
    const int64_t now = NowMs();
    while (!pending_.empty() && pending_.top().dueMs <= now) {
        const Pending& due = pending_.top();
        Send(due.device, due.service, due.to, due.bytes);
        pending_.pop();
    }
}

void Simulator::Send(size_t device, Service service, const sockaddr_in& to,
                     const std::vector<uint8_t>& bytes)
{
    const int fd = sockets_[device * kServiceCount + size_t(service)];
    if (fd >= 0)
        sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to),
               sizeof(to));
}

void Simulator::MakeDueChanges()
{
    if (changes_.empty())
        return;
    const int64_t now = NowMs();
    while (!changes_.empty() && changes_.top().atMs <= now) {
        const DueChange due = changes_.top();
        changes_.pop();
        std::string error;
        if (!ApplyPanelChange(devices_[due.device], devices_[due.device].panelChanges[due.index],
                              error))
            fprintf(stderr, "rigwise-sim: device %zu: front-panel change %zu: %s\n", due.device,
                    due.index, error.c_str());
    }
}

void Simulator::AcceptControl()
{
    for (;;) {
        const int fd = accept4(controlListener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        controlClients_[fd] = ControlClient{fd, {}};
        Watch(fd, MakeTag(kControlClient, uint64_t(fd)));
    }
}

void Simulator::ReadControl(int fd)
{
    auto client = controlClients_.find(fd);
    if (client == controlClients_.end())
        return;
    char buffer[4096];
    const ssize_t received = read(fd, buffer, sizeof(buffer));
    if (received <= 0) {
        if (received < 0 && errno == EAGAIN)
            return;
        close(fd);
        controlClients_.erase(client);
        return;
    }
    std::string& input = client->second.input;
    input.append(buffer, size_t(received));
    size_t end;
    while ((end = input.find('\n')) != std::string::npos) {
        const std::string answer = Execute(input.substr(0, end)) + "\n";
        input.erase(0, end + 1);
        if (write(fd, answer.data(), answer.size()) < 0)
            break;
    }
}

// Commands, one a line; each is answered with "ok" or "error <why>":
//   stop N|all, resume N|all       stop or resume answering (N: index in the device list)
//   module N BAY COUNT             put a module with COUNT DMX ports in a SwitchKappa's bay
//                                  (COUNT 0 takes it out)
//   address N IP MASK              move a device, for example onto a foreign subnet
//   drop PERCENT                   ignore this share of the datagrams devices receive
//   delay MS | delay N MS          wait before answering (all devices, or one)
//   twice N|all on|off             send every Kivnet answer twice
//   spoil N|all short|mode|none    spoil the next Kivnet answer
//   ignore N|all KIND COUNT        leave the next COUNT requests of KIND unanswered
//   drop N PERCENT                 one device ignores this share of what it receives
//   jitter MS | jitter N MS        add a random wait of 0..MS to every answer
//   pause N|all SECONDS            answer nothing for SECONDS, then answer again
//   rename N TEXT                  front panel: the device's name
//   port N PORT MODE|- [UNIVERSE|-]  front panel: a DMX port's mode and universe code
//   speed N PORT SPEED             front panel: a switch port's speed (ports from 1)
//   quit
std::string Simulator::Execute(const std::string& line)
{
    using Handler = std::string (Simulator::*)(std::istream&);
    static const std::map<std::string, Handler> kHandlers = {
        {"stop", &Simulator::StopCommand},     {"resume", &Simulator::ResumeCommand},
        {"module", &Simulator::ModuleCommand}, {"address", &Simulator::AddressCommand},
        {"drop", &Simulator::DropCommand},     {"delay", &Simulator::DelayCommand},
        {"twice", &Simulator::TwiceCommand},   {"spoil", &Simulator::SpoilCommand},
        {"ignore", &Simulator::IgnoreCommand}, {"jitter", &Simulator::JitterCommand},
        {"pause", &Simulator::PauseCommand},   {"rename", &Simulator::RenameCommand},
        {"port", &Simulator::PortCommand},     {"speed", &Simulator::SpeedCommand},
        {"quit", &Simulator::QuitCommand},
    };
    std::istringstream words(line);
    std::string command;
    words >> command;
    const auto handler = kHandlers.find(command);
    if (handler == kHandlers.end())
        return "error unknown command";
    return (this->*handler->second)(words);
}

bool Simulator::ReadDevice(std::istream& words, size_t& index) const
{
    long value = -1;
    if (!(words >> value) || value < 0 || size_t(value) >= devices_.size())
        return false;
    index = size_t(value);
    return true;
}

bool Simulator::ReadDevices(std::istream& words, size_t& first, size_t& last) const
{
    std::string target;
    words >> target;
    if (target == "all") {
        first = 0;
        last = devices_.size();
        return true;
    }
    char* end = nullptr;
    const unsigned long value = strtoul(target.c_str(), &end, 10);
    if (target.empty() || *end || value >= devices_.size())
        return false;
    first = value;
    last = value + 1;
    return true;
}

std::string Simulator::StopCommand(std::istream& words)
{
    return SetStopped(words, true);
}

std::string Simulator::ResumeCommand(std::istream& words)
{
    return SetStopped(words, false);
}

std::string Simulator::SetStopped(std::istream& words, bool stopped)
{
    size_t first = 0, last = 0;
    if (!ReadDevices(words, first, last))
        return "error no such device";
    for (size_t i = first; i < last; ++i) {
        devices_[i].stopped = stopped;
        devices_[i].stopAtMs = -1;
        if (!stopped) // a resumed device is no longer paused either
            devices_[i].pauseFromMs = devices_[i].pauseUntilMs = -1;
    }
    return "ok";
}

std::string Simulator::ModuleCommand(std::istream& words)
{
    size_t index = 0;
    int bay = 0, count = -1;
    if (!ReadDevice(words, index) || !(words >> bay >> count))
        return "error usage: module N BAY COUNT";
    if (!devices_[index].IsKappa())
        return "error not a SwitchKappa";
    if (bay < 1 || bay > kBayCount || count < 0 || count > 15)
        return "error bays are 1 to 15, modules have 0 to 15 ports";
    devices_[index].bays[size_t(bay)].assign(size_t(count), DmxPort{});
    return "ok";
}

std::string Simulator::AddressCommand(std::istream& words)
{
    size_t index = 0;
    std::string ipText, maskText;
    uint32_t ip = 0, mask = 0;
    if (!ReadDevice(words, index) || !(words >> ipText >> maskText) || !ParseAddress(ipText, ip) ||
        !ParseAddress(maskText, mask) || ip == 0)
        return "error usage: address N IP MASK";
    if (byAddress_.count(ip) && byAddress_[ip] != index)
        return "error address in use";
    Device& device = devices_[index];
    byAddress_.erase(device.ip);
    device.ip = ip;
    device.mask = mask;
    byAddress_[ip] = index;
    CloseDeviceSockets(index);
    if (!options_.interface.empty())
        AddAddresses({index});
    return OpenDeviceSockets(index) ? "ok" : "error cannot bind";
}

std::string Simulator::DropCommand(std::istream& words)
{
    long first = -1, second = -1;
    if (!(words >> first) || first < 0)
        return "error usage: drop PERCENT | drop N PERCENT";
    if (!(words >> second)) {
        if (!words.eof() || first > 100)
            return "error usage: drop PERCENT | drop N PERCENT";
        options_.dropPercent = int(first);
        return "ok";
    }
    if (second < 0 || second > 100)
        return "error usage: drop PERCENT | drop N PERCENT";
    if (size_t(first) >= devices_.size())
        return "error no such device";
    devices_[size_t(first)].dropPercent = int(second);
    return "ok";
}

std::string Simulator::DelayCommand(std::istream& words)
{
    return MillisecondsCommand(words, "delay", kLongestWaitMs, options_.delayMs, &Device::delayMs);
}

std::string Simulator::TwiceCommand(std::istream& words)
{
    size_t first = 0, last = 0;
    std::string setting;
    if (!ReadDevices(words, first, last) || !(words >> setting) ||
        (setting != "on" && setting != "off"))
        return "error usage: twice N|all on|off";
    for (size_t i = first; i < last; ++i)
        devices_[i].answerTwice = setting == "on";
    return "ok";
}

std::string Simulator::SpoilCommand(std::istream& words)
{
    size_t first = 0, last = 0;
    std::string setting;
    Spoil spoil = Spoil::None;
    if (!ReadDevices(words, first, last) || !(words >> setting) || !ParseSpoil(setting, spoil))
        return "error usage: spoil N|all short|mode|none";
    for (size_t i = first; i < last; ++i)
        devices_[i].spoilNext = spoil;
    return "ok";
}

std::string Simulator::IgnoreCommand(std::istream& words)
{
    size_t first = 0, last = 0;
    std::string kind;
    Request request = Request::None;
    long count = -1;
    if (!ReadDevices(words, first, last) || !(words >> kind) || !ParseRequest(kind, request) ||
        !(words >> count) || count < 0 || count > 1000000)
        return "error usage: ignore N|all discovery|deviceSettings|portSettings|identify|"
               "switchSettings|artPoll COUNT";
    for (size_t i = first; i < last; ++i)
        devices_[i].ignoreFirst[size_t(request)] = int(count);
    return "ok";
}

std::string Simulator::JitterCommand(std::istream& words)
{
    return MillisecondsCommand(words, "jitter", kLongestWaitMs, options_.jitterMs,
                               &Device::jitterMs);
}

std::string Simulator::MillisecondsCommand(std::istream& words, const std::string& name,
                                           long longest, int& everyDevice, int Device::*own)
{
    const std::string usage = "error usage: " + name + " MS | " + name + " N MS";
    long first = -1, second = -1;
    if (!(words >> first) || first < 0 || first > longest)
        return usage;
    if (!(words >> second)) {
        if (!words.eof())
            return usage;
        everyDevice = int(first);
        return "ok";
    }
    if (second < 0 || second > longest)
        return usage;
    if (size_t(first) >= devices_.size())
        return "error no such device";
    devices_[size_t(first)].*own = int(second);
    return "ok";
}

std::string Simulator::PauseCommand(std::istream& words)
{
    size_t first = 0, last = 0;
    double seconds = -1;
    if (!ReadDevices(words, first, last) || !(words >> seconds) || !(seconds >= 0) ||
        seconds > 86400)
        return "error usage: pause N|all SECONDS";
    const int64_t now = NowMs();
    for (size_t i = first; i < last; ++i) {
        devices_[i].pauseFromMs = now;
        devices_[i].pauseUntilMs = now + int64_t(seconds * 1000 + 0.5);
    }
    return "ok";
}

std::string Simulator::RenameCommand(std::istream& words)
{
    size_t index = 0;
    PanelChange change;
    if (!ReadDevice(words, index) || !std::getline(words >> std::ws, change.name) ||
        change.name.empty())
        return "error usage: rename N TEXT";
    change.rename = true;
    return Change(index, change);
}

std::string Simulator::PortCommand(std::istream& words)
{
    size_t index = 0;
    PanelChange change;
    std::string mode, universe = "-";
    if (!ReadDevice(words, index) || !(words >> change.dmxPort >> mode) || change.dmxPort < 0)
        return "error usage: port N PORT MODE|- [UNIVERSE|-]";
    words >> universe;
    char* end = nullptr;
    const unsigned long code = std::strtoul(universe.c_str(), &end, 0);
    if ((mode != "-" && !ParsePortMode(mode, change.mode)) ||
        (universe != "-" && (universe.empty() || *end || code > 0xFFFF)))
        return "error usage: port N PORT disabled|input|output|- [UNIVERSE|-]";
    if (universe != "-")
        change.universe = int(code);
    return Change(index, change);
}

std::string Simulator::SpeedCommand(std::istream& words)
{
    size_t index = 0;
    PanelChange change;
    if (!ReadDevice(words, index) || !(words >> change.switchPort >> change.speed) ||
        change.switchPort < 1)
        return "error usage: speed N PORT SPEED";
    return Change(index, change);
}

std::string Simulator::Change(size_t device, const PanelChange& change)
{
    std::string error;
    return ApplyPanelChange(devices_[device], change, error) ? "ok" : "error " + error;
}

std::string Simulator::QuitCommand(std::istream&)
{
    quit_ = true;
    return "ok";
}

} // namespace sim
