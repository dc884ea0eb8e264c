// rigwise-sim-probe: plays the program's side of discovery against simulated devices and
// reports how long the answers take. Run it in the program's private namespace only.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "netnscheck.h"

namespace {

double NowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: rigwise-sim-probe EXPECTED [ROUNDS] [TIMEOUT_MS]\n");
        return 2;
    }
    if (!InPrivateNetwork()) {
        fprintf(stderr, "rigwise-sim-probe: refusing to run outside a private network namespace\n");
        return 1;
    }
    const size_t expected = size_t(std::atol(argv[1]));
    const int rounds = std::clamp(argc > 2 ? std::atoi(argv[2]) : 5, 1, 100);
    const int timeoutMs = std::clamp(argc > 3 ? std::atoi(argv[3]) : 5000, 100, 60000);

    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof(on));
    // A thousand answers arrive at once; the default buffer holds a few hundred.
    const int buffer = 16 << 20;
    setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &buffer, sizeof(buffer));
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(6464);
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof(local)) != 0) {
        perror("rigwise-sim-probe: bind 6464");
        return 1;
    }
    const uint8_t request[8] = {0x4D, 0x2D, 0x52, 0x00, 0x00, 0x10, 0x00, 0x00};
    sockaddr_in broadcast{};
    broadcast.sin_family = AF_INET;
    broadcast.sin_port = htons(6464);
    broadcast.sin_addr.s_addr = htonl(INADDR_BROADCAST);

    int failures = 0;
    for (int round = 1; round <= rounds; ++round) {
        std::set<std::string> senders;
        const double start = NowMs();
        double first = 0, last = 0;
        sendto(fd, request, sizeof(request), 0, reinterpret_cast<sockaddr*>(&broadcast),
               sizeof(broadcast));
        while (senders.size() < expected) {
            const int left = timeoutMs - int(NowMs() - start);
            pollfd waiting{fd, POLLIN, 0};
            if (left <= 0 || poll(&waiting, 1, left) <= 0)
                break;
            uint8_t reply[2048];
            sockaddr_in from{};
            socklen_t fromLength = sizeof(from);
            const ssize_t received = recvfrom(fd, reply, sizeof(reply), 0,
                                              reinterpret_cast<sockaddr*>(&from), &fromLength);
            // Our own broadcast comes back too; only discovery replies count.
            if (received < 50 || reply[5] != 0x11)
                continue;
            const double now = NowMs() - start;
            if (senders.empty())
                first = now;
            last = now;
            char text[INET_ADDRSTRLEN] = {};
            inet_ntop(AF_INET, &from.sin_addr, text, sizeof(text));
            senders.insert(text);
        }
        printf("round %d: %zu of %zu devices answered; first after %.2f ms, last after %.2f ms\n",
               round, senders.size(), expected, first, last);
        if (senders.size() < expected)
            ++failures;
        usleep(200000);
    }
    close(fd);
    return failures == 0 ? 0 : 1;
}
