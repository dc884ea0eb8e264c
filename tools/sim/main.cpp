// rigwise-sim: plays Pylon devices on a network segment for tests, demos and users without
// hardware. Run it only inside a private network namespace (see tools/simnet.sh).
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "devicelist.h"
#include "netnscheck.h"
#include "simulator.h"

namespace {

const char kUsage[] =
    "usage: rigwise-sim [--devices FILE.json]\n"
    "                   [--generate COUNT [--model CODE] [--first IP] [--mask MASK]]\n"
    "                   [--interface IFACE] [--record FILE] [--control SOCKET]\n"
    "                   [--ready-file FILE] [--drop PERCENT] [--delay MS] [--jitter MS]\n"
    "                   [--seed N] [--duration SECONDS]\n"
    "\n"
    "  --devices FILE    the devices to play (JSON, see tools/sim/README.md)\n"
    "  --generate COUNT  also play COUNT devices of every model in turn, addresses counting\n"
    "                    up from --first (default 10.202.1.1) with --mask (255.255.0.0)\n"
    "  --model CODE      generate devices of this model only (for example 0x0103)\n"
    "  --interface IFACE add the device addresses to this interface first\n"
    "  --record FILE     write one line per datagram received:\n"
    "                    SECONDS SENDER:PORT DESTINATION:PORT HEXBYTES\n"
    "  --control SOCKET  take commands on this Unix socket while running (stop, resume,\n"
    "                    module, address, drop, delay, twice, spoil, ignore, jitter, pause,\n"
    "                    rename, port, speed, quit)\n"
    "  --ready-file FILE written with the process id once every socket is bound\n"
    "  --drop PERCENT    ignore this share of received datagrams\n"
    "  --delay MS        wait this long before answering\n"
    "  --jitter MS       wait a random 0 to MS more before each answer (answers may overtake\n"
    "                    each other)\n"
    "  --seed N          seed of the random drops and jitter (default 1)\n"
    "  --duration SEC    stop by itself after this many seconds\n"
    "\n"
    "Devices that answer like real ones, per device in the list or by --control command\n"
    "(N: the device's index in the list, from 0; all: every device):\n"
    "  \"delayMs\": MS         delay N MS            answer MS late; past the program's 50 ms\n"
    "                                             repeat it asks again and gets one answer\n"
    "                                             per request it sent\n"
    "  \"answerTwice\": true   twice N|all on|off    send every Kivnet answer twice, the second\n"
    "                                             copy one delay after the first\n"
    "  \"spoilNext\": \"short\"  spoil N|all short     send the next Kivnet answer one byte too\n"
    "                                             short to read, once\n"
    "  \"spoilNext\": \"mode\"   spoil N|all mode      the same, but a port settings reply keeps\n"
    "                                             its length and gets mode 3\n"
    "  \"ignoreFirst\": {KIND: COUNT}  ignore N|all KIND COUNT\n"
    "                                             leave the next COUNT requests of KIND\n"
    "                                             unanswered; KIND: discovery, deviceSettings,\n"
    "                                             portSettings, identify, switchSettings,\n"
    "                                             artPoll\n"
    "  \"dropPercent\": P      drop N P              ignore P % of what this device receives\n"
    "  \"jitterMs\": MS        jitter N MS           wait a random 0..MS more before each\n"
    "                                             answer\n"
    "  \"pauseForMs\": MS      pause N|all SECONDS   answer nothing for a while (from\n"
    "                                             \"pauseAfterMs\"), then answer again\n"
    "  \"panelChanges\": [...] rename N TEXT         change the name,\n"
    "                        port N PORT MODE [UNIVERSE]   a DMX port (wire number),\n"
    "                        speed N PORT SPEED    a switch port's speed (from 1) as the\n"
    "                                             device's own front panel would\n"
    "\n"
    "       rigwise-sim --tell SOCKET COMMAND...\n"
    "  sends one command to a running simulator's control socket and prints its answer\n";

bool ReadFile(const std::string& path, std::string& text)
{
    std::ifstream file(path);
    if (!file)
        return false;
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
    return true;
}

// The client side of --control, so that no other tool is needed to steer a running simulator.
int Tell(const std::string& path, const std::string& command)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (fd < 0 || path.size() >= sizeof(address.sun_path))
        return 1;
    std::strcpy(address.sun_path, path.c_str());
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        fprintf(stderr, "rigwise-sim: no simulator at %s\n", path.c_str());
        close(fd);
        return 1;
    }
    const std::string line = command + "\n";
    std::string answer;
    char c;
    if (write(fd, line.data(), line.size()) == ssize_t(line.size()))
        while (read(fd, &c, 1) == 1 && c != '\n')
            answer.push_back(c);
    close(fd);
    printf("%s\n", answer.c_str());
    return answer == "ok" ? 0 : 1;
}

// A model code as text ("0x0103", "259"); null when it names no model.
const sim::ModelInfo* ModelByCode(const std::string& text)
{
    char* end = nullptr;
    const unsigned long code = std::strtoul(text.c_str(), &end, 0);
    if (text.empty() || *end || code > 0xFFFF)
        return nullptr;
    return sim::FindModel(uint16_t(code));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 4 && std::strcmp(argv[1], "--tell") == 0) {
        std::string command = argv[3];
        for (int i = 4; i < argc; ++i)
            command += std::string(" ") + argv[i];
        return Tell(argv[2], command);
    }

    sim::SimulatorOptions options;
    std::string devicesPath;
    long generate = 0;
    uint32_t first = 0x0ACA0101; // 10.202.1.1
    uint32_t mask = 0xFFFF0000;
    const sim::ModelInfo* model = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        if (flag == "--help" || flag == "-h") {
            fputs(kUsage, stdout);
            return 0;
        }
        if (i + 1 >= argc) {
            fprintf(stderr, "rigwise-sim: %s needs a value\n%s", flag.c_str(), kUsage);
            return 2;
        }
        const std::string value = argv[++i];
        bool good = true;
        if (flag == "--devices")
            devicesPath = value;
        else if (flag == "--generate")
            generate = std::atol(value.c_str());
        else if (flag == "--model")
            good = (model = ModelByCode(value)) != nullptr;
        else if (flag == "--first")
            good = sim::ParseAddress(value, first);
        else if (flag == "--mask")
            good = sim::ParseAddress(value, mask);
        else if (flag == "--interface")
            options.interface = value;
        else if (flag == "--record")
            options.recordPath = value;
        else if (flag == "--control")
            options.controlPath = value;
        else if (flag == "--ready-file")
            options.readyPath = value;
        else if (flag == "--drop")
            options.dropPercent = std::atoi(value.c_str());
        else if (flag == "--delay")
            options.delayMs = std::atoi(value.c_str());
        else if (flag == "--jitter")
            good = (options.jitterMs = std::atoi(value.c_str())) >= 0;
        else if (flag == "--seed")
            options.seed = unsigned(std::strtoul(value.c_str(), nullptr, 10));
        else if (flag == "--duration")
            options.durationSeconds = std::atoi(value.c_str());
        else
            good = false;
        if (!good) {
            fprintf(stderr, "rigwise-sim: bad %s %s\n%s", flag.c_str(), value.c_str(), kUsage);
            return 2;
        }
    }

    if (!InPrivateNetwork()) {
        fprintf(stderr, "rigwise-sim: refusing to run outside a private network namespace; "
                        "start it with tools/simnet.sh or tools/in-private-net.sh\n");
        return 1;
    }

    sim::DeviceList list;
    if (!devicesPath.empty()) {
        std::string text, error;
        if (!ReadFile(devicesPath, text)) {
            fprintf(stderr, "rigwise-sim: cannot read %s\n", devicesPath.c_str());
            return 2;
        }
        if (!sim::ParseDeviceList(text, list, error)) {
            fprintf(stderr, "rigwise-sim: %s: %s\n", devicesPath.c_str(), error.c_str());
            return 2;
        }
        if (options.dropPercent == 0)
            options.dropPercent = list.dropPercent;
        if (options.delayMs == 0)
            options.delayMs = list.delayMs;
        if (options.jitterMs == 0)
            options.jitterMs = list.jitterMs;
    }
    if (generate > 0) {
        for (sim::Device& device : sim::GenerateDevices(int(generate), first, mask, model))
            list.devices.push_back(std::move(device));
    }
    if (list.devices.empty()) {
        fprintf(stderr, "rigwise-sim: no devices to play\n%s", kUsage);
        return 2;
    }

    sim::Simulator simulator(std::move(list.devices), options);
    if (!simulator.Start())
        return 1;
    return simulator.Run();
}
