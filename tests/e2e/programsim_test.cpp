// The real program against the device simulator, each on its side of a private network.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/simnetwork.h"

namespace {

const char kOneNode[] = R"({"devices": [
  {"model": "0x0108", "unit": 3, "ip": "10.202.1.30", "mask": "255.255.0.0"}
]})";

const std::vector<uint8_t> kDiscoveryRequest = {0x4D, 0x2D, 0x52, 0x00, // magic
                                                0x00, 0x10,             // discovery request
                                                0x00, 0x00};

} // namespace

TEST(ProgramWithSimulator, DiscoveryIsBroadcastEverySecondTwiceThenToTheAdapter)
{
    SimNetwork network;
    ASSERT_TRUE(network.ok());
    ASSERT_TRUE(network.StartSimulator(kOneNode));
    const pid_t program = network.StartOnProgramSide({RIGWISE_BINARY});
    // At least two rounds after the start, however long the start takes (a sanitizer build
    // starts several times slower).
    auto updatePortCount = [&] {
        size_t count = 0;
        for (const SimNetwork::Record& record : network.Received())
            count += record.port == 6464;
        return count;
    };
    for (int waited = 0; waited < 20000 && updatePortCount() < 6; waited += 100)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    SimNetwork::StopProcess(program);

    std::vector<std::string> destinations;
    for (const SimNetwork::Record& record : network.Received()) {
        if (record.port != 6464)
            continue;
        EXPECT_EQ(record.sender, SimNetwork::kProgramAddress);
        EXPECT_EQ(record.senderPort, 6464);
        EXPECT_EQ(record.bytes, kDiscoveryRequest);
        destinations.push_back(record.destination);
    }
    // The adapter list is filled a second after start, so the first rounds may lack the
    // directed broadcast; every round starts with two limited broadcasts.
    ASSERT_GE(destinations.size(), 4u);
    EXPECT_EQ(destinations[0], "255.255.255.255");
    EXPECT_EQ(destinations[1], "255.255.255.255");
    EXPECT_THAT(destinations, testing::Contains("10.202.255.255"));
}
