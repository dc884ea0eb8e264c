// What the simulated devices do with settings they receive, and the behaviour tests switch on
// while the simulator runs: stop, drop, module changes, the record of received datagrams.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "support/handbytes.h"
#include "support/simnetwork.h"

using testing::ElementsAreArray;
using testing::IsEmpty;
using testing::SizeIs;
using testing::StartsWith;
using testing::UnorderedElementsAreArray;

namespace {

constexpr uint16_t kUpdatePort = 6464;
constexpr uint16_t kKivnetPort = 6517;

// Device 5 stops answering one millisecond after the simulator starts: it is lost.
const char kRack[] = R"({"devices": [
  {"model": "0x0103", "unit": 5, "ip": "10.202.1.20", "mask": "255.255.0.0"},
  {"model": "0x0103", "unit": 6, "ip": "10.202.1.21", "mask": "255.255.0.0"},
  {"model": "0x0106", "unit": 5, "ip": "10.202.1.22", "mask": "255.255.0.0"},
  {"model": "0x0318", "unit": 8, "ip": "10.202.1.23", "mask": "255.255.0.0"},
  {"model": "0x0319", "unit": 9, "ip": "10.202.1.24", "mask": "255.255.0.0"},
  {"model": "0x0107", "unit": 1, "ip": "10.202.1.25", "mask": "255.255.0.0", "lostAfterMs": 1}
]})";

std::vector<uint8_t> PortRequest(uint8_t wirePort)
{
    std::vector<uint8_t> request = Kivnet(0x0031, 10);
    request[8] = wirePort;
    return request;
}

class SimBehaviour : public testing::Test {
protected:
    void SetUp() override
    {
        network_ = std::make_unique<SimNetwork>();
        ASSERT_TRUE(network_->ok()) << "the private network did not come up";
        ASSERT_TRUE(network_->StartSimulator(kRack));
        ASSERT_TRUE(EnterProgramSide(*network_, side_, client_));
    }
    void TearDown() override
    {
        client_.reset();
        side_.reset();
        network_.reset();
    }

    std::vector<uint8_t> Ask(const std::string& address, uint16_t port,
                             const std::vector<uint8_t>& request)
    {
        return client_->Ask(address, port, request);
    }

    // Sender address -> discovery reply, for one broadcast discovery request.
    std::map<std::string, std::vector<uint8_t>> Discover()
    {
        client_->SendTo("255.255.255.255", kUpdatePort, DiscoveryRequest());
        std::map<std::string, std::vector<uint8_t>> bySender;
        for (const auto& answer : client_->Receive(100, 500, 3000))
            bySender[answer.sender] = answer.bytes;
        return bySender;
    }

    static std::vector<std::string> Senders(const std::map<std::string, std::vector<uint8_t>>& map)
    {
        std::vector<std::string> senders;
        for (const auto& entry : map)
            senders.push_back(entry.first);
        return senders;
    }

    std::unique_ptr<SimNetwork> network_;
    std::unique_ptr<ProgramSide> side_;
    std::unique_ptr<SimClient> client_;
};

TEST_F(SimBehaviour, NetworkSettingsMoveOnlyTheDeviceWithThatModelAndUnit)
{
    std::vector<uint8_t> settings(282, 0);
    Put(settings, 0, {0x4D, 0x2D, 0x52, 0x00, 0x00, 0x88}); // magic, network settings
    Put(settings, 8, {0x00, 0x05});                         // unit 5
    Put(settings, 10, {0x01, 0x03});                        // model NodeBeta
    Put(settings, 14, {0x1E, 0x03, 0xCA, 0x0A});             // 10.202.3.30, last octet first
    Put(settings, 18, {0x00, 0x00, 0xFF, 0xFF});             // 255.255.0.0, last octet first
    ASSERT_TRUE(client_->SendTo("10.202.255.255", kUpdatePort, settings));

    // NodeGamma unit 5 and NodeBeta unit 6 stay where they are.
    auto bySender = Discover();
    EXPECT_THAT(Senders(bySender),
                UnorderedElementsAreArray({"10.202.3.30", "10.202.1.21", "10.202.1.22",
                                           "10.202.1.23", "10.202.1.24"}));
    const std::vector<uint8_t>& moved = bySender["10.202.3.30"];
    ASSERT_THAT(moved, SizeIs(50));
    EXPECT_THAT(std::vector<uint8_t>(moved.begin() + 40, moved.begin() + 50),
                ElementsAreArray({0x0A, 0xCA, 0x03, 0x1E,  // new address
                                  0xFF, 0xFF, 0x00, 0x00,  // new mask
                                  0x01, 0x03}));           // NodeBeta
    EXPECT_THAT(Ask("10.202.3.30", kKivnetPort, Kivnet(0x0021)), SizeIs(222));
    EXPECT_THAT(Ask("10.202.1.20", kKivnetPort, Kivnet(0x0021)), IsEmpty()) << "old address";

    // DHCP: unit 6 reports address 0 and goes on answering from the address it has.
    std::vector<uint8_t> dhcp(282, 0);
    Put(dhcp, 0, {0x4D, 0x2D, 0x52, 0x00, 0x00, 0x88}); // magic, network settings
    Put(dhcp, 8, {0x00, 0x06, 0x01, 0x03});             // unit 6, NodeBeta; address 0: DHCP
    ASSERT_TRUE(client_->SendTo("10.202.255.255", kUpdatePort, dhcp));
    bySender = Discover();
    ASSERT_THAT(bySender["10.202.1.21"], SizeIs(50));
    EXPECT_THAT(std::vector<uint8_t>(bySender["10.202.1.21"].begin() + 40,
                                     bySender["10.202.1.21"].begin() + 48),
                ElementsAreArray({0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(SimBehaviour, DeviceAndPortSettingsAreAppliedAndReadBack)
{
    std::vector<uint8_t> device = Kivnet(0x0020, 222);
    PutText(device, 8, "Front of House"); // name
    Put(device, 34, {0x01, 0x02});        // unlocked, display time-out 5 seconds
    Put(device, 94, {0x5A, 0xA5});        // option bytes A and B
    client_->SendTo("10.202.1.20", kKivnetPort, device);

    std::vector<uint8_t> expected = Kivnet(0x8021, 222);
    PutText(expected, 8, "Front of House"); // name
    Put(expected, 34, {0x01, 0x02});        // unlocked, display time-out 5 seconds
    PutText(expected, 36, "Ready");         // display line 2, untouched
    Put(expected, 94, {0x5A, 0xA5});        // option bytes kept
    EXPECT_THAT(Ask("10.202.1.20", kKivnetPort, Kivnet(0x0021)), ElementsAreArray(expected));

    struct Case {
        const char* what;
        std::vector<uint8_t> programming;
        std::vector<uint8_t> reply;
    };
    std::vector<uint8_t> input = Kivnet(0x0030, 22);
    Put(input, 8, {0x02, 0x01, 0x01, 0x01, 0x03, 0x12, 0x64}); // port 2 input, sACN 18
    Put(input, 18, {0xCA, 0xFE, 0xBA, 0xBE});                   // port value
    std::vector<uint8_t> inputReply = Kivnet(0x8031, 164);
    Put(inputReply, 8, {0x02, 0x01});                           // port 2, input
    Put(inputReply, 12, {0x03, 0x12});                          // sACN 18
    Put(inputReply, 18, {0xCA, 0xFE, 0xBA, 0xBE});              // port value

    std::vector<uint8_t> output = Kivnet(0x0030, 164);
    Put(output, 8, {0x00, 0x02, 0x01, 0x02, 0x01, 0x07});       // port 0 output, Shownet 8
    Put(output, 160, {0x01, 0x02, 0x03, 0x04});                 // port value
    std::vector<uint8_t> outputReply = Kivnet(0x8031, 164);
    Put(outputReply, 8, {0x00, 0x02});                          // port 0, output
    Put(outputReply, 12, {0x01, 0x07});                         // Shownet 8
    Put(outputReply, 160, {0x01, 0x02, 0x03, 0x04});            // port value

    std::vector<uint8_t> disabled = Kivnet(0x0030, 164);
    Put(disabled, 8, {0x01, 0x00, 0x00, 0x02});                 // port 1 disabled
    std::vector<uint8_t> disabledReply = Kivnet(0x8031, 164);
    Put(disabledReply, 8, {0x01, 0x00});                        // port 1, disabled

    std::vector<uint8_t> cutShort(output.begin(), output.begin() + 100);
    cutShort[8] = 0x01;                                         // port 1, output form cut short

    const Case cases[] = {
        {"input form", input, inputReply},
        {"output form", output, outputReply},
        {"disabled", disabled, disabledReply},
        {"a cut output form changes nothing", cutShort, disabledReply},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        client_->SendTo("10.202.1.20", kKivnetPort, test.programming);
        EXPECT_THAT(Ask("10.202.1.20", kKivnetPort, PortRequest(test.reply[8])),
                    ElementsAreArray(test.reply));
    }
}

TEST_F(SimBehaviour, SwitchSettingsAreAppliedAndReadBack)
{
    std::vector<uint8_t> theta = Kivnet(0x0040, 450);
    PutText(theta, 8, "Rack Switch");            // name
    Put(theta, 26, {0x02, 0x08, 0x05, 0x00});    // locked, 8 records, time-out 5 (LE)
    Put(theta, 30, {0x0B, 0x0A});                // switch word 0x0A0B (LE)
    PutText(theta, 32, "ignored");               // the text is the device's own
    Put(theta, 66, {0x02, 0x03, 0x07, 0x00});    // port 1: loop with port 7, SFP
    client_->SendTo("10.202.1.23", kKivnetPort, theta);

    std::vector<uint8_t> expected = Kivnet(0x8041, 450);
    PutText(expected, 8, "Rack Switch");         // name
    Put(expected, 26, {0x02, 0x08, 0x05, 0x00}); // locked, 8 records, time-out 5 (LE)
    Put(expected, 30, {0x0B, 0x0A});             // switch word (LE)
    PutText(expected, 32, "Ready");              // display line 2
    Put(expected, 66, {0x02, 0x03, 0x07, 0x00}); // port 1; ports 2..8 disabled as sent
    EXPECT_THAT(Ask("10.202.1.23", kKivnetPort, Kivnet(0x0041)), ElementsAreArray(expected));

    std::vector<uint8_t> kappa = Kivnet(0x0040, 1354);
    Put(kappa, 26, {0x01, 0x0A, 0x01, 0x00});    // unlocked, 10 records, always on
    Put(kappa, 30, {0x0A, 0x0B});                // switch word 0x0A0B (big-endian here)
    Put(kappa, 64, {0x44, 0x55});                // switch bytes B and A
    Put(kappa, 66 + 8 * 9, {0x03, 0x00, 0x10, 0x00}); // port 10: filter, VLAN 16
    client_->SendTo("10.202.1.24", kKivnetPort, kappa);
    const std::vector<uint8_t> reply = Ask("10.202.1.24", kKivnetPort, Kivnet(0x0041));
    ASSERT_THAT(reply, SizeIs(1354));
    EXPECT_THAT(std::vector<uint8_t>(reply.begin() + 26, reply.begin() + 32),
                ElementsAreArray({0x01, 0x0A, 0x01, 0x00, 0x0A, 0x0B}));
    EXPECT_THAT(std::vector<uint8_t>(reply.begin() + 64, reply.begin() + 66),
                ElementsAreArray({0x44, 0x55}));
    EXPECT_THAT(std::vector<uint8_t>(reply.begin() + 138, reply.begin() + 142),
                ElementsAreArray({0x03, 0x00, 0x10, 0x00}));
}

TEST_F(SimBehaviour, StoppedLostAndDroppingDevicesDoNotAnswer)
{
    const std::vector<std::string> everyone{"10.202.1.20", "10.202.1.21", "10.202.1.22",
                                            "10.202.1.23", "10.202.1.24"};
    EXPECT_THAT(Senders(Discover()), UnorderedElementsAreArray(everyone)) << "10.202.1.25 is lost";

    ASSERT_EQ(network_->Control("stop 1"), "ok");
    std::vector<std::string> withoutOne = everyone;
    withoutOne.erase(withoutOne.begin() + 1);
    EXPECT_THAT(Senders(Discover()), UnorderedElementsAreArray(withoutOne));
    EXPECT_THAT(Ask("10.202.1.21", kKivnetPort, Kivnet(0x0021)), IsEmpty());

    ASSERT_EQ(network_->Control("resume 1"), "ok");
    EXPECT_THAT(Senders(Discover()), UnorderedElementsAreArray(everyone));

    ASSERT_EQ(network_->Control("drop 100"), "ok");
    EXPECT_THAT(Discover(), IsEmpty());
    ASSERT_EQ(network_->Control("drop 0"), "ok");

    // A delayed device still answers, later.
    ASSERT_EQ(network_->Control("delay 0 200"), "ok");
    EXPECT_THAT(Senders(Discover()), UnorderedElementsAreArray(everyone));

    EXPECT_THAT(network_->Control("stop 99"), StartsWith("error"));
    EXPECT_THAT(network_->Control("fly"), StartsWith("error"));
}

TEST_F(SimBehaviour, ModulesGoInAndOutOfAKappaBayWhileRunning)
{
    auto bayTable = [&]() {
        const std::vector<uint8_t> reply = Ask("10.202.1.24", kKivnetPort, Kivnet(0x0041));
        return reply.size() == 1354 ? std::vector<uint8_t>(reply.begin() + 1346, reply.end())
                                    : std::vector<uint8_t>{};
    };
    EXPECT_THAT(bayTable(), ElementsAreArray({0, 0, 0, 0, 0, 0, 0, 0}));

    ASSERT_EQ(network_->Control("module 4 2 6"), "ok");
    ASSERT_EQ(network_->Control("module 4 15 1"), "ok");
    EXPECT_THAT(bayTable(), ElementsAreArray({0x60, 0, 0, 0, 0, 0, 0, 0x01})); // bays 2, 15
    EXPECT_THAT(Ask("10.202.1.24", kKivnetPort, PortRequest(37)), SizeIs(164)) << "bay 2 port 5";
    EXPECT_THAT(Ask("10.202.1.24", kKivnetPort, PortRequest(240)), SizeIs(164)) << "bay 15";
    EXPECT_THAT(Ask("10.202.1.24", kKivnetPort, PortRequest(38)), IsEmpty()) << "bay 2 port 6";

    ASSERT_EQ(network_->Control("module 4 2 0"), "ok");
    EXPECT_THAT(bayTable(), ElementsAreArray({0, 0, 0, 0, 0, 0, 0, 0x01}));
    EXPECT_THAT(Ask("10.202.1.24", kKivnetPort, PortRequest(37)), IsEmpty());

    EXPECT_THAT(network_->Control("module 0 1 4"), StartsWith("error")) << "not a SwitchKappa";
    EXPECT_THAT(network_->Control("module 4 16 4"), StartsWith("error")) << "no bay 16";
}

TEST_F(SimBehaviour, EveryReceivedDatagramIsRecordedWithSenderAndDestination)
{
    client_->SendTo("255.255.255.255", kUpdatePort, DiscoveryRequest());
    client_->Receive(5, 300, 2000);
    const std::vector<uint8_t> garbage{0x01, 0x02, 0x03};
    client_->SendTo("10.202.1.22", kKivnetPort, garbage);
    ASSERT_THAT(Ask("10.202.1.22", kKivnetPort, Kivnet(0x0021)), SizeIs(222));

    const std::vector<SimNetwork::Record> records = network_->Received();
    ASSERT_THAT(records, SizeIs(3));
    const struct {
        const char* destination;
        uint16_t port;
        std::vector<uint8_t> bytes;
    } expected[] = {
        {"255.255.255.255", kUpdatePort, DiscoveryRequest()},
        {"10.202.1.22", kKivnetPort, garbage},
        {"10.202.1.22", kKivnetPort, Kivnet(0x0021)},
    };
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(records[i].sender, SimNetwork::kProgramAddress);
        EXPECT_NE(records[i].senderPort, 0);
        EXPECT_EQ(records[i].destination, expected[i].destination);
        EXPECT_EQ(records[i].port, expected[i].port);
        EXPECT_THAT(records[i].bytes, ElementsAreArray(expected[i].bytes));
    }
}

TEST(SimScale, AThousandDevicesAllAnswerOneBroadcastDiscovery)
{
    SimNetwork network;
    ASSERT_TRUE(network.ok());
    ASSERT_TRUE(network.StartSimulator(R"({"devices": []})", {"--generate", "1000"}));
    ProgramSide side(network);
    ASSERT_TRUE(side.ok());
    SimClient client;
    ASSERT_TRUE(client.SendTo("255.255.255.255", kUpdatePort, DiscoveryRequest()));
    std::set<std::string> senders;
    std::set<int> units;
    for (const auto& answer : client.Receive(1000, 3000, 30000)) {
        senders.insert(answer.sender);
        if (answer.bytes.size() == 50 && answer.bytes[5] == 0x11)
            units.insert(answer.bytes[32] << 8 | answer.bytes[33]);
    }
    EXPECT_EQ(senders.size(), 1000u);
    ASSERT_EQ(units.size(), 1000u);
    EXPECT_EQ(*units.begin(), 1);
    EXPECT_EQ(*units.rbegin(), 1000);
    EXPECT_THAT(network.Received(), SizeIs(1)) << "one broadcast, received once";
}

// --model makes every generated device that model, numbered and addressed as without it:
// consecutive from 10.202.1.1, skipping the .255 and .0 addresses.
TEST(SimScale, GeneratedDevicesOfOneModel)
{
    SimNetwork network;
    ASSERT_TRUE(network.ok());
    ASSERT_TRUE(network.StartSimulator(R"({"devices": []})",
                                       {"--generate", "260", "--model", "0x0103"}));
    ProgramSide side(network);
    ASSERT_TRUE(side.ok());
    SimClient client;
    ASSERT_TRUE(client.SendTo("255.255.255.255", kUpdatePort, DiscoveryRequest()));
    std::map<int, std::string> senderByUnit;
    std::set<int> models;
    for (const auto& answer : client.Receive(260, 2000, 20000)) {
        ASSERT_THAT(answer.bytes, SizeIs(50));
        models.insert(answer.bytes[48] << 8 | answer.bytes[49]);
        senderByUnit[answer.bytes[32] << 8 | answer.bytes[33]] = answer.sender;
    }
    EXPECT_THAT(models, ElementsAreArray({0x0103}));
    ASSERT_EQ(senderByUnit.size(), 260u);
    EXPECT_EQ(senderByUnit[1], "10.202.1.1");
    EXPECT_EQ(senderByUnit[254], "10.202.1.254");
    EXPECT_EQ(senderByUnit[255], "10.202.2.1");
    EXPECT_EQ(senderByUnit[260], "10.202.2.6");

    // A NodeBeta has DMX ports 0 to 2 on the wire, and no more.
    std::vector<uint8_t> portRequest = Kivnet(0x0031, 10);
    portRequest[8] = 2;
    EXPECT_THAT(client.Ask("10.202.2.6", kKivnetPort, portRequest), SizeIs(164));
    portRequest[8] = 3;
    EXPECT_THAT(client.Ask("10.202.2.6", kKivnetPort, portRequest), IsEmpty());
}

TEST(SimScale, UnknownOrMalformedModelCodesAreRefused)
{
    for (const char* code : {"0x0999", "0x10103", "0x01x3", ""}) {
        SCOPED_TRACE(code);
        SimNetwork network;
        ASSERT_TRUE(network.ok());
        EXPECT_FALSE(network.StartSimulator(R"({"devices": []})",
                                            {"--generate", "2", "--model", code}));
    }
}

} // namespace
