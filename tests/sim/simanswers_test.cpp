// The simulator's answers, checked against datagrams written by hand from the byte tables. A
// client on the program's side of a private network plays the program.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/handbytes.h"
#include "support/simnetwork.h"

using testing::ElementsAreArray;
using testing::IsEmpty;
using testing::SizeIs;

namespace {

constexpr uint16_t kUpdatePort = 6464;
constexpr uint16_t kKivnetPort = 6517;
constexpr uint16_t kArtNetPort = 6454;

const char kRack[] = R"({"devices": [
  {"model": "0x0108", "unit": 258, "ip": "10.202.1.10", "mask": "255.255.0.0",
   "mac": "00:50:c2:12:34:56", "name": "Stage Left", "locked": true, "displayTimeout": 5,
   "optionA": 17, "optionB": 34, "id": 123, "line2": "Dimmers",
   "ports": [{"mode": "output", "universe": "0x0212", "value": "0xA1B2C3D4"},
             {"mode": "input", "universe": "0x0305", "value": "0x01020304"},
             {"mode": "disabled", "universe": "0x0203", "value": 7}]},
  {"model": "0x0111", "unit": 7, "ip": "10.202.1.11", "mask": "255.255.0.0",
   "ports": [{"mode": "output", "universe": "0x0105", "value": 5}]},
  {"model": "0x0318", "unit": 3, "ip": "10.202.1.12", "mask": "255.255.0.0",
   "name": "Core Switch", "id": 123, "displayTimeout": 2, "switchWord": "0x1234", "line2": "Up",
   "switchPorts": [{"mode": 2, "speed": 1, "value": 5}, {"mode": 1, "speed": 0, "value": 258}]},
  {"model": "0x0319", "unit": 4, "ip": "10.202.1.13", "mask": "255.255.0.0",
   "name": "Truss Switch", "id": 123, "locked": true, "displayTimeout": 5,
   "switchPortCount": 18, "switchWord": "0x1234", "switchByteA": "0xAA", "switchByteB": "0xBB",
   "line2": "Bay A", "switchPorts": [{"mode": 3, "speed": 2, "value": 4000}],
   "modules": [{"bay": 1, "ports": [{"mode": "input", "universe": "0x0301", "value": 9}, {}]},
               {"bay": 2, "ports": 15}, {"bay": 3, "ports": 3}]},
  {"model": "0x0103", "unit": 9, "ip": "10.202.1.14", "mask": "255.255.0.0", "dhcp": true},
  {"model": "0x0106", "unit": 10, "ip": "192.168.77.10", "mask": "255.255.255.0"},
  {"model": "0x300E", "unit": 11, "ip": "10.202.1.15", "mask": "255.255.0.0", "id": 1279,
   "artNet": true, "longName": "Other Maker Node"}
]})";

std::vector<uint8_t> ArtPoll()
{
    return {'A', 'r', 't', '-', 'N', 'e', 't', 0, 0x00, 0x20, 0x00, 0x0E, 0x03, 0x00};
}

// One simulated rack for every test of the suite: these tests only ask, never change.
class SimAnswers : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        network_ = new SimNetwork;
        if (!network_->ok() || !network_->StartSimulator(kRack)) {
            delete network_;
            network_ = nullptr;
        }
    }
    static void TearDownTestSuite()
    {
        delete network_;
        network_ = nullptr;
    }
    void SetUp() override
    {
        ASSERT_NE(network_, nullptr) << "the private network or the simulator did not start";
        ASSERT_TRUE(EnterProgramSide(*network_, side_, client_));
    }
    void TearDown() override
    {
        client_.reset();
        side_.reset();
    }

    // The one answer to a request, or an empty datagram when none came.
    std::vector<uint8_t> Ask(const std::string& address, uint16_t port,
                             const std::vector<uint8_t>& request, std::string* sender = nullptr)
    {
        return client_->Ask(address, port, request, sender);
    }

    static SimNetwork* network_;
    std::unique_ptr<ProgramSide> side_;
    std::unique_ptr<SimClient> client_;
};

SimNetwork* SimAnswers::network_ = nullptr;

TEST_F(SimAnswers, BroadcastDiscoveryIsAnsweredByEveryDeviceFromItsOwnAddress)
{
    ASSERT_TRUE(client_->SendTo("255.255.255.255", kUpdatePort, DiscoveryRequest()));
    std::map<std::string, std::vector<uint8_t>> bySender;
    for (const auto& answer : client_->Receive(7))
        bySender[answer.sender] = answer.bytes;
    ASSERT_THAT(bySender, SizeIs(7));
    for (const char* address : {"10.202.1.10", "10.202.1.11", "10.202.1.12", "10.202.1.13",
                                "10.202.1.14", "10.202.1.15", "192.168.77.10"})
        EXPECT_EQ(bySender.count(address), 1u) << address;

    std::vector<uint8_t> expected(50, 0);
    Put(expected, 0, {0x4D, 0x2D, 0x52, 0x00});             // magic "M-R"
    Put(expected, 4, {0x00, 0x11});                         // discovery reply
    PutText(expected, 8, "Stage Left");                     // name, zero-padded to 26
    Put(expected, 26, {0x00, 0x50, 0xC2, 0x12, 0x34, 0x56}); // MAC address
    Put(expected, 32, {0x01, 0x02});                        // unit number 258
    Put(expected, 40, {0x0A, 0xCA, 0x01, 0x0A});             // address 10.202.1.10
    Put(expected, 44, {0xFF, 0xFF, 0x00, 0x00});             // mask 255.255.0.0
    Put(expected, 48, {0x01, 0x08});                        // model code NodeDelta
    EXPECT_THAT(bySender["10.202.1.10"], ElementsAreArray(expected));

    // The DHCP device reports no address of its own; the program takes the sender's.
    const std::vector<uint8_t>& dhcp = bySender["10.202.1.14"];
    ASSERT_THAT(dhcp, SizeIs(50));
    EXPECT_THAT(std::vector<uint8_t>(dhcp.begin() + 40, dhcp.begin() + 50),
                ElementsAreArray({0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0x03}));
}

TEST_F(SimAnswers, DeviceSettingsReplyCarriesLockTimeoutTextAndOptionBytes)
{
    std::vector<uint8_t> expected = Kivnet(0x8021, 222); // reply flag + device settings
    PutText(expected, 8, "Stage Left");                  // name
    Put(expected, 34, {0x02});                           // locked
    Put(expected, 35, {0x05});                           // display time-out: 1 minute
    PutText(expected, 36, "Dimmers");                    // display line 2
    Put(expected, 94, {0x11, 0x22});                     // option bytes A and B
    EXPECT_THAT(Ask("10.202.1.10", kKivnetPort, Kivnet(0x0021)), ElementsAreArray(expected));
}

TEST_F(SimAnswers, PortSettingsRepliesByWirePortNumber)
{
    auto reply = [](uint8_t number, uint8_t mode, uint16_t universe, size_t valueOffset,
                    uint32_t value) {
        std::vector<uint8_t> bytes = Kivnet(0x8031, 164);
        Put(bytes, 8, {number, mode});                                  // port, mode
        if (mode != 0) {
            Put(bytes, 12, {uint8_t(universe >> 8), uint8_t(universe)}); // universe code
            Put(bytes, valueOffset, {uint8_t(value >> 24), uint8_t(value >> 16),
                                     uint8_t(value >> 8), uint8_t(value)}); // port value
        }
        return bytes;
    };
    struct Case {
        const char* what;
        const char* address;
        uint8_t wirePort;
        std::vector<uint8_t> expected; // empty: no answer
    };
    const Case cases[] = {
        {"output port", "10.202.1.10", 0, reply(0, 2, 0x0212, 160, 0xA1B2C3D4)},
        {"input port", "10.202.1.10", 1, reply(1, 1, 0x0305, 18, 0x01020304)},
        {"disabled port", "10.202.1.10", 2, reply(2, 0, 0, 0, 0)},
        {"NodeDelta has ten ports", "10.202.1.10", 10, {}},
        {"NodeAlpha's port is 1", "10.202.1.11", 1, reply(1, 2, 0x0105, 160, 5)},
        {"NodeAlpha has no port 0", "10.202.1.11", 0, {}},
        {"bay 1 port 0 is 16", "10.202.1.13", 16, reply(16, 1, 0x0301, 18, 9)},
        {"bay 1 port 1", "10.202.1.13", 17, reply(17, 2, 0, 160, 0)},
        {"bay 2 port 14", "10.202.1.13", 46, reply(46, 2, 0, 160, 0)},
        {"bay 3 has 3 ports", "10.202.1.13", 51, {}},
        {"the switch's own number space", "10.202.1.13", 0, {}},
        {"switches without bays", "10.202.1.12", 0, {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        std::vector<uint8_t> request = Kivnet(0x0031, 10);
        request[8] = test.wirePort;
        EXPECT_THAT(Ask(test.address, kKivnetPort, request), ElementsAreArray(test.expected));
    }
}

TEST_F(SimAnswers, IdentifyRepliesCarryTheIdInBcdAndTheKappaPortCount)
{
    struct Case {
        const char* what;
        const char* address;
        std::vector<uint8_t> request;
        const char* name;
        std::initializer_list<uint8_t> idAndCount; // bytes 41..43
    };
    std::vector<uint8_t> longForm = Kivnet(0x0010, 10);
    Put(longForm, 8, {0xFF, 0xFF}); // every unit
    const Case cases[] = {
        {"SwitchTheta, 8-byte form", "10.202.1.12", Kivnet(0x0010), "Core Switch",
         {0x23, 0x01, 0x00}},
        {"SwitchKappa, 10-byte form", "10.202.1.13", longForm, "Truss Switch",
         {0x23, 0x01, 18}},
        {"SwitchIota, ID 1279", "10.202.1.15", Kivnet(0x0010), "SwitchIota 11",
         {0x79, 0x0C, 0x00}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        std::vector<uint8_t> expected = Kivnet(0x8011, 44); // reply flag + identify reply
        PutText(expected, 8, test.name);                    // device name
        Put(expected, 41, test.idAndCount);                 // BCD ID, hundreds, port count
        EXPECT_THAT(Ask(test.address, kKivnetPort, test.request), ElementsAreArray(expected));
    }
    EXPECT_THAT(Ask("10.202.1.10", kKivnetPort, Kivnet(0x0010)), IsEmpty()) << "a node";
}

TEST_F(SimAnswers, SwitchSettingsReplyOf450BytesHasLittleEndianFieldsAnd16ByteRecords)
{
    std::vector<uint8_t> expected = Kivnet(0x8041, 450);
    PutText(expected, 8, "Core Switch");       // name
    Put(expected, 26, {0x01});                 // unlocked
    Put(expected, 27, {0x08});                 // eight port records
    Put(expected, 28, {0x02, 0x00});           // display time-out 2, little-endian
    Put(expected, 30, {0x34, 0x12});           // switch word 0x1234, little-endian
    PutText(expected, 32, "Up");               // display line 2
    Put(expected, 66, {0x02, 0x01, 0x05, 0x00}); // port 1: loop with port 5, speed 10
    Put(expected, 82, {0x01, 0x00, 0x02, 0x01}); // port 2: normal, VLAN 258
    for (size_t port = 2; port < 8; ++port)
        Put(expected, 66 + 16 * port, {0x01, 0x00, 0x01, 0x00}); // normal, VLAN 1
    EXPECT_THAT(Ask("10.202.1.12", kKivnetPort, Kivnet(0x0041)), ElementsAreArray(expected));
}

TEST_F(SimAnswers, SwitchSettingsReplyOf1354BytesHasTheKappaLayoutAndBayTable)
{
    std::vector<uint8_t> expected = Kivnet(0x8041, 1354);
    PutText(expected, 8, "Truss Switch");      // name
    Put(expected, 26, {0x02});                 // locked
    Put(expected, 27, {18});                   // eighteen port records
    Put(expected, 28, {0x05, 0x00});           // display time-out 5, little-endian
    Put(expected, 30, {0x12, 0x34});           // switch word 0x1234, big-endian here
    PutText(expected, 32, "Bay A");            // display line 2
    Put(expected, 64, {0xBB, 0xAA});           // switch bytes B and A
    Put(expected, 66, {0x03, 0x02, 0xA0, 0x0F}); // port 1: filter, speed 100, VLAN 4000
    for (size_t port = 1; port < 18; ++port)
        Put(expected, 66 + 8 * port, {0x01, 0x00, 0x01, 0x00}); // normal, VLAN 1
    Put(expected, 1346, {0xF2});               // bay 1: 2 ports (low), bay 2: 15 (high)
    Put(expected, 1347, {0x03});               // bay 3: 3 ports, bay 4 empty
    EXPECT_THAT(Ask("10.202.1.13", kKivnetPort, Kivnet(0x0041)), ElementsAreArray(expected));
}

TEST_F(SimAnswers, ArtPollReplyCarriesOpCodeAddressAndIdInTheLongName)
{
    std::string sender;
    const std::vector<uint8_t> reply = Ask("10.202.1.10", kArtNetPort, ArtPoll(), &sender);
    EXPECT_EQ(sender, "10.202.1.10");
    ASSERT_THAT(reply, SizeIs(239));
    EXPECT_THAT(std::vector<uint8_t>(reply.begin(), reply.begin() + 16),
                ElementsAreArray(std::vector<uint8_t>{'A', 'r', 't', '-', 'N', 'e', 't', 0, // ID
                                  0x00, 0x21,                           // OpPollReply
                                  0x0A, 0xCA, 0x01, 0x0A,               // 10.202.1.10
                                  0x36, 0x19}));                        // port 6454
    std::vector<uint8_t> longName(64, 0);
    PutText(longName, 0, "Pylon NodeDelta ID: 123");
    EXPECT_THAT(std::vector<uint8_t>(reply.begin() + 44, reply.begin() + 108),
                ElementsAreArray(longName));
}

TEST_F(SimAnswers, ArtPollIsAnsweredByNodesAndByDevicesListedAsSpeakingArtNet)
{
    // The SwitchIota of the rack is listed with Art-Net and another maker's long name.
    const std::vector<uint8_t> reply = Ask("10.202.1.15", kArtNetPort, ArtPoll());
    ASSERT_THAT(reply, SizeIs(239));
    std::vector<uint8_t> longName(64, 0);
    PutText(longName, 0, "Other Maker Node");
    EXPECT_THAT(std::vector<uint8_t>(reply.begin() + 44, reply.begin() + 108),
                ElementsAreArray(longName));

    client_->SendTo("10.202.1.12", kArtNetPort, ArtPoll());
    EXPECT_THAT(client_->Receive(1, 300, 300), IsEmpty()) << "a SwitchTheta";
}

TEST_F(SimAnswers, MalformedAndForeignDatagramsGetNoAnswer)
{
    struct Case {
        const char* what;
        uint16_t port;
        std::vector<uint8_t> bytes;
    };
    std::vector<uint8_t> wrongMagic = Kivnet(0x0021);
    wrongMagic[1] = 0x37;
    std::vector<uint8_t> wrongVersion = Kivnet(0x0021);
    wrongVersion[5] = 0x02;
    std::vector<uint8_t> wrongUpdateMagic = DiscoveryRequest();
    wrongUpdateMagic[0] = 'm';
    std::vector<uint8_t> notAPoll = ArtPoll();
    notAPoll[9] = 0x21;
    std::vector<uint8_t> shortPortRequest = Kivnet(0x0031, 8);
    const Case cases[] = {
        {"Kivnet magic", kKivnetPort, wrongMagic},
        {"Kivnet version", kKivnetPort, wrongVersion},
        {"a reply, not a request", kKivnetPort, Kivnet(0x8021)},
        {"port request without a port", kKivnetPort, shortPortRequest},
        {"update-port magic", kUpdatePort, wrongUpdateMagic},
        {"header cut short", kUpdatePort, {0x4D, 0x2D, 0x52, 0x00, 0x00, 0x10}},
        {"ArtPollReply", kArtNetPort, notAPoll},
        {"switch request to a node", kKivnetPort, Kivnet(0x0041)},
        {"node request to a switch", kKivnetPort, Kivnet(0x0021)},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        const char* address =
            std::string(test.what) == "node request to a switch" ? "10.202.1.12" : "10.202.1.10";
        client_->SendTo(address, test.port, test.bytes);
        EXPECT_THAT(client_->Receive(1, 300, 300), IsEmpty());
    }
}

} // namespace
