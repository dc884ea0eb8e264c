// rigwise-flood: floods the program with junk, cut-short, valid and spoofed replies on its three
// ports, at a fixed rate, as the simulated devices and strangers on their segment would send
// them. Run it only inside a private network namespace, beside the simulator (tools/simnet.sh).
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "devicelist.h"
#include "floodmix.h"
#include "floodsender.h"
#include "netnscheck.h"

namespace {

const char kUsage[] =
    "usage: rigwise-flood --target IP [--rate PER_SECOND] [--duration SECONDS] [--seed N]\n"
    "                     [--first IP] [--count COUNT] [--model CODE] [--mask MASK]\n"
    "                     [--interface IFACE]\n"
    "\n"
    "  --target IP       the program's address; datagrams go to its ports 6464, 6517, 6454\n"
    "  --rate N          datagrams per second (default 20000), paced every millisecond\n"
    "  --duration SEC    how long to send (default 60)\n"
    "  --seed N          seed of the mix (default 1): the same seed sends the same datagrams\n"
    "  --first, --count, --model, --mask\n"
    "                    the devices the simulator plays with --generate (same flags, same\n"
    "                    addresses); their replies are sent from their addresses\n"
    "  --interface IFACE send through this interface only\n"
    "\n"
    "Prints the datagrams sent and the rate achieved when done.\n";

constexpr size_t kBatchLimit = 256;
constexpr double kTickSeconds = 0.001;
constexpr double kBacklogSeconds = 0.1; // a stall is not made up beyond this

struct Options {
    uint32_t target = 0;
    double rate = 20000;
    double duration = 60;
    uint64_t seed = 1;
    uint32_t first = 0x0ACA0101; // 10.202.1.1, as the simulator
    uint32_t mask = 0xFFFF0000;
    long count = 0;
    const sim::ModelInfo* model = nullptr;
    std::string interface;
};

double Now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

bool ParseNumber(const std::string& text, double low, double high, double& value)
{
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && !*end && value >= low && value <= high;
}

bool ParseModel(const std::string& text, const sim::ModelInfo*& model)
{
    char* end = nullptr;
    const unsigned long code = std::strtoul(text.c_str(), &end, 0);
    model = text.empty() || *end || code > 0xFFFF ? nullptr : sim::FindModel(uint16_t(code));
    return model != nullptr;
}

// Returns 0 when the flags are good, 1 for --help, 2 otherwise.
int ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        if (flag == "--help" || flag == "-h")
            return 1;
        if (i + 1 >= argc) {
            fprintf(stderr, "rigwise-flood: %s needs a value\n", flag.c_str());
            return 2;
        }
        const std::string value = argv[++i];
        double number = 0;
        bool good = true;
        if (flag == "--target")
            good = sim::ParseAddress(value, options.target);
        else if (flag == "--rate")
            good = ParseNumber(value, 1, 1e7, options.rate);
        else if (flag == "--duration")
            good = ParseNumber(value, 0.001, 86400, options.duration);
        else if (flag == "--seed")
            good = ParseNumber(value, 0, 1e18, number) && (options.seed = uint64_t(number), true);
        else if (flag == "--first")
            good = sim::ParseAddress(value, options.first);
        else if (flag == "--mask")
            good = sim::ParseAddress(value, options.mask);
        else if (flag == "--count")
            good = ParseNumber(value, 0, 60000, number) && (options.count = long(number), true);
        else if (flag == "--model")
            good = ParseModel(value, options.model);
        else if (flag == "--interface")
            options.interface = value;
        else
            good = false;
        if (!good) {
            fprintf(stderr, "rigwise-flood: bad %s %s\n", flag.c_str(), value.c_str());
            return 2;
        }
    }
    if (options.target == 0) {
        fprintf(stderr, "rigwise-flood: --target is needed\n");
        return 2;
    }
    return 0;
}

struct Totals {
    size_t attempted = 0;
    size_t sent = 0;
    size_t skipped = 0; // behind the pace by more than the backlog allows
    size_t byKind[size_t(sim::FloodKind::Count)] = {};
};

void SleepUntil(double when)
{
    timespec at{};
    at.tv_sec = time_t(when);
    at.tv_nsec = long((when - double(at.tv_sec)) * 1e9);
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr);
}

// Sends at the rate until the duration is over, in batches of what is due each millisecond.
Totals Flood(const Options& options, sim::FloodMix& mix, sim::FloodSender& sender)
{
    Totals totals;
    std::vector<sim::FloodMix::Scratch> scratch(kBatchLimit);
    std::vector<sim::FloodDatagram> batch;
    batch.reserve(kBatchLimit);
    const double start = Now();
    const size_t backlogLimit =
        std::max<size_t>(kBatchLimit, size_t(options.rate * kBacklogSeconds));
    for (;;) {
        const double elapsed = Now() - start;
        if (elapsed >= options.duration)
            break;
        const size_t due = size_t(options.rate * elapsed) + 1;
        if (due <= totals.attempted) {
            const double nextDue = double(totals.attempted) / options.rate;
            const double nextTick = (std::floor(elapsed / kTickSeconds) + 1) * kTickSeconds;
            SleepUntil(start + std::min(options.duration, std::max(nextDue, nextTick)));
            continue;
        }
        size_t count = due - totals.attempted;
        if (count > backlogLimit) {
            totals.skipped += count - backlogLimit;
            totals.attempted += count - backlogLimit;
            count = backlogLimit;
        }
        batch.clear();
        for (size_t i = 0; i < std::min(count, kBatchLimit); ++i) {
            batch.push_back(mix.Next(scratch[i]));
            ++totals.byKind[size_t(batch.back().kind)];
        }
        totals.attempted += batch.size();
        totals.sent += sender.Send(batch);
    }
    return totals;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    const int parsed = ParseOptions(argc, argv, options);
    if (parsed != 0) {
        fputs(kUsage, parsed == 1 ? stdout : stderr);
        return parsed == 1 ? 0 : 2;
    }
    if (!InPrivateNetwork()) {
        fprintf(stderr, "rigwise-flood: refusing to run outside a private network namespace; "
                        "start it with tools/simnet.sh or tools/in-private-net.sh\n");
        return 1;
    }

    const std::vector<sim::Device> devices =
        sim::GenerateDevices(int(options.count), options.first, options.mask, options.model);
    std::vector<uint32_t> addresses;
    for (const sim::Device& device : devices)
        addresses.push_back(device.ip);
    sim::FloodMix mix(devices, options.seed);
    sim::FloodSender sender(options.target, options.interface);
    if (!sender.Open(addresses))
        return 1;

    const double start = Now();
    const double cpuStart = CpuSeconds();
    const Totals totals = Flood(options, mix, sender);
    const double seconds = Now() - start;
    const double cpu = CpuSeconds() - cpuStart;

    using sim::FloodKind;
    printf("rigwise-flood: sent %zu of %zu datagrams in %.2f s to %s: %.0f datagrams/s "
           "(target %.0f)\n",
           totals.sent, totals.attempted, seconds, sim::AddressText(options.target).c_str(),
           double(totals.sent) / seconds, options.rate);
    printf("rigwise-flood: random %zu, cut short %zu, valid %zu, spoofed %zu; refused by the "
           "kernel %zu, skipped behind pace %zu; own CPU %.0f %% of one core\n",
           totals.byKind[size_t(FloodKind::Random)], totals.byKind[size_t(FloodKind::Truncated)],
           totals.byKind[size_t(FloodKind::Valid)], totals.byKind[size_t(FloodKind::Spoofed)],
           totals.attempted - totals.skipped - totals.sent, totals.skipped, 100.0 * cpu / seconds);
    return 0;
}
