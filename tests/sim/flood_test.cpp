// rigwise-flood against a program side that only listens: what arrives on the three ports and
// from whom, that the devices' replies are the simulator's own, byte for byte, and that no
// discovery reply carries a model and unit number that no simulated device has.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "support/handbytes.h"
#include "support/simnetwork.h"

using testing::Contains;
using testing::Ge;
using testing::SizeIs;

namespace {

constexpr int kDeviceCount = 20; // NodeBetas at 10.202.1.1 to 10.202.1.20, units 1 to 20
constexpr uint16_t kPorts[] = {6464, 6517, 6454};

std::string DeviceAddress(int unit)
{
    return "10.202.1." + std::to_string(unit);
}

struct Arrival {
    uint16_t port;
    SimClient::Datagram datagram;
};

class Flood : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        network_ = new SimNetwork;
        if (!network_->ok() ||
            !network_->StartSimulator(R"({"devices": []})",
                                      {"--generate", std::to_string(kDeviceCount), "--model",
                                       "0x0103"})) {
            delete network_;
            network_ = nullptr;
        }
    }
    static void TearDownTestSuite()
    {
        delete network_;
        network_ = nullptr;
    }
    void SetUp() override { ASSERT_NE(network_, nullptr) << "no private network or simulator"; }

    // Runs the flooder on the devices' side against listeners on the program's three ports;
    // its report, and every datagram that arrived, port by port in order.
    std::vector<Arrival> RunFlood(int rate, double seconds, int seed, std::string& report)
    {
        std::vector<std::unique_ptr<SimClient>> listeners;
        {
            ProgramSide side(*network_);
            for (uint16_t port : kPorts)
                listeners.push_back(std::make_unique<SimClient>(port));
        }
        for (const auto& listener : listeners)
            EXPECT_TRUE(listener->ok());
        const std::string command =
            std::string(RIGWISE_SIMNET_SCRIPT) + " sim " + network_->Name() + " " +
            RIGWISE_FLOOD_BINARY + " --target 10.202.0.1 --rate " + std::to_string(rate) +
            " --duration " + std::to_string(seconds) + " --seed " + std::to_string(seed) +
            " --count " + std::to_string(kDeviceCount) + " --model 0x0103";
        report.clear();
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char line[512];
            while (fgets(line, sizeof(line), pipe))
                report += line;
            pclose(pipe);
        }
        std::vector<Arrival> arrivals;
        for (size_t i = 0; i < listeners.size(); ++i)
            for (auto& datagram : listeners[i]->Receive(size_t(rate * seconds) + 1, 300, 10000))
                arrivals.push_back({kPorts[i], std::move(datagram)});
        return arrivals;
    }

    // What the simulated device at this address answers to a request, asked as the program.
    std::vector<uint8_t> AskDevice(int unit, uint16_t port, const std::vector<uint8_t>& request)
    {
        ProgramSide side(*network_);
        SimClient client;
        return client.Ask(DeviceAddress(unit), port, request);
    }

    static SimNetwork* network_;
};

SimNetwork* Flood::network_ = nullptr;

bool IsDiscoveryReply(const Arrival& arrival)
{
    const std::vector<uint8_t>& bytes = arrival.datagram.bytes;
    return arrival.port == 6464 && bytes.size() == 50 && bytes[0] == 0x4D && bytes[1] == 0x2D &&
           bytes[2] == 0x52 && bytes[3] == 0x00 && bytes[4] == 0x00 && bytes[5] == 0x11;
}

uint32_t U32(const std::vector<uint8_t>& bytes, size_t at)
{
    return uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 |
           uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
}

} // namespace

TEST_F(Flood, SendsTheRateAsAMixOfJunkValidAndSpoofedRepliesButNoNewDevice)
{
    std::string report;
    const std::vector<Arrival> arrivals = RunFlood(3000, 1.0, 7, report);
    unsigned long sent = 0, attempted = 0;
    ASSERT_EQ(std::sscanf(report.c_str(), "rigwise-flood: sent %lu of %lu", &sent, &attempted), 2)
        << report;
    EXPECT_GE(sent, 2900u) << report;
    EXPECT_LE(sent, 3001u) << report;
    EXPECT_THAT(arrivals, SizeIs(Ge(sent * 95 / 100))) << "most of the flood arrives";

    std::map<uint16_t, int> perPort;
    std::set<std::string> senders;
    size_t longest = 0;
    std::set<uint16_t> foreignModels;
    int ownDiscovery = 0, movedDiscovery = 0;
    for (const Arrival& arrival : arrivals) {
        ++perPort[arrival.port];
        senders.insert(arrival.datagram.sender);
        longest = std::max(longest, arrival.datagram.bytes.size());
        if (!IsDiscoveryReply(arrival))
            continue;
        const std::vector<uint8_t>& bytes = arrival.datagram.bytes;
        const uint16_t model = uint16_t(bytes[48] << 8 | bytes[49]);
        const int unit = bytes[32] << 8 | bytes[33];
        if (model != 0x0103) {
            foreignModels.insert(model);
            continue;
        }
        ASSERT_GE(unit, 1) << "a discovery reply of a device nobody plays";
        ASSERT_LE(unit, kDeviceCount) << "a discovery reply of a device nobody plays";
        const uint32_t own = 0x0ACA0100u | uint32_t(unit); // 10.202.1.unit
        if (U32(bytes, 40) == own && arrival.datagram.sender == DeviceAddress(unit))
            ++ownDiscovery;
        else if (U32(bytes, 40) != own)
            ++movedDiscovery;
    }
    for (uint16_t port : kPorts)
        EXPECT_GT(perPort[port], 300) << "port " << port;
    EXPECT_GT(longest, 1536u) << "no junk longer than the program's buffers";
    EXPECT_THAT(foreignModels, Contains(0x0308));
    EXPECT_THAT(foreignModels, Contains(0xFFFF));
    EXPECT_GT(ownDiscovery, 0) << "no device's own discovery reply";
    EXPECT_GT(movedDiscovery, 0) << "no discovery reply spoofing a device's address";
    std::set<std::string> devices;
    for (int unit = 1; unit <= kDeviceCount; ++unit)
        devices.insert(DeviceAddress(unit));
    EXPECT_EQ(senders, devices) << "every datagram comes from a device's address";
}

// The devices' own replies in the flood are the simulator's, byte for byte, from their address.
TEST_F(Flood, ValidRepliesAreTheSimulatedDevicesOwn)
{
    const int unit = 5;
    std::vector<uint8_t> portRequest = Kivnet(0x0031, 10);
    portRequest[8] = 1;
    const std::vector<uint8_t> artPoll = {'A', 'r', 't', '-', 'N', 'e', 't', 0,
                                          0x00, 0x20, 0x00, 0x0E, 0x03, 0x00};
    const std::map<uint16_t, std::vector<std::vector<uint8_t>>> expected = {
        {6464, {AskDevice(unit, 6464, DiscoveryRequest())}},
        {6517, {AskDevice(unit, 6517, Kivnet(0x0021)), AskDevice(unit, 6517, portRequest)}},
        {6454, {AskDevice(unit, 6454, artPoll)}}};
    for (const auto& entry : expected)
        for (const auto& reply : entry.second)
            ASSERT_THAT(reply, testing::Not(testing::IsEmpty())) << "the device did not answer";

    std::string report;
    const std::vector<Arrival> arrivals = RunFlood(3000, 1.0, 11, report);
    std::map<uint16_t, std::set<std::vector<uint8_t>>> fromDevice;
    for (const Arrival& arrival : arrivals)
        if (arrival.datagram.sender == DeviceAddress(unit))
            fromDevice[arrival.port].insert(arrival.datagram.bytes);
    for (const auto& entry : expected)
        for (const auto& reply : entry.second)
            EXPECT_TRUE(fromDevice[entry.first].count(reply))
                << "port " << entry.first << ": the device's " << reply.size()
                << "-byte reply is not in the flood";
}

TEST_F(Flood, TheSameSeedSendsTheSameDatagrams)
{
    std::string report;
    // Sorted: datagrams of different senders may overtake each other on the way.
    auto bytesOf = [](const std::vector<Arrival>& arrivals) {
        std::vector<std::vector<uint8_t>> bytes;
        for (const Arrival& arrival : arrivals)
            bytes.push_back(arrival.datagram.bytes);
        std::sort(bytes.begin(), bytes.end());
        return bytes;
    };
    const auto first = bytesOf(RunFlood(1000, 0.3, 3, report));
    const auto again = bytesOf(RunFlood(1000, 0.3, 3, report));
    const auto other = bytesOf(RunFlood(1000, 0.3, 4, report));
    ASSERT_THAT(first, SizeIs(Ge(250u)));
    EXPECT_TRUE(first == again);
    EXPECT_FALSE(first == other);
}
