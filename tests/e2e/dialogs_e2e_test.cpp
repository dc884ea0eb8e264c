// The built program against the device simulator, driven like a technician drives it: real
// pointer clicks and key presses on the drawn rack, dialogs and control bar, and the bytes the
// simulated devices receive checked against the message tables, written out by hand.
#include <gtest/gtest.h>

#include <unistd.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "e2e/rigwiseui.h"
#include "e2e/screen.h"
#include "e2e/wirerecords.h"
#include "support/handbytes.h"
#include "support/simnetwork.h"

using rigwiseui::Dialog;
using rigwiseui::Point;
using rigwiseui::Program;
using rigwiseui::Scaled;
using rigwiseui::Selector;
using namespace wirerecords;

namespace {

// One 19-inch node with eight DMX ports (ports right to left from design x 685, 50 apart, at
// y 75; the Ethernet sockets at 100, 75; the display at 520, 15). Unit 7, model 0x0109.
const char kEightPortNode[] = R"({"devices": [
  {"model": "0x0109", "unit": 7, "ip": "10.202.1.9", "mask": "255.255.0.0",
   "mac": "00:50:c2:0a:0b:0c", "name": "Stage Left", "locked": false, "displayTimeout": 2,
   "optionA": 90, "optionB": 165,
   "ports": [{"mode": "output", "universe": "0x0215", "value": 305419896},
             {"mode": "input", "universe": "0x0302", "value": 7},
             {"mode": "disabled"},
             {"mode": "output", "universe": "0x0105", "value": 0},
             {"mode": "output", "universe": "0x0204", "value": 0},
             {"mode": "output", "universe": "0x0205", "value": 0},
             {"mode": "output", "universe": "0x0206", "value": 0},
             {"mode": "output", "universe": "0x0207", "value": 0}]}
]})";
const char kNodeAddress[] = "10.202.1.9";

constexpr int kDmxDialogHeight = 345;     // 360 units
constexpr int kNetworkDialogHeight = 144; // 150 units

// The rack with its one node, ready to be clicked: found, read back (the Art-Net poll to the
// node ends the read-back) and drawn.
class NodeRack : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(network.ok());
        ASSERT_TRUE(network.StartSimulator(kEightPortNode));
        program = std::make_unique<Program>(network);
        ASSERT_TRUE(program->ok()) << "no program window with its control bar";
        const auto polled = WaitFor(network, 0, 1, [](const SimNetwork::Record& record) {
            return record.port == 6454 && record.destination == kNodeAddress;
        });
        ASSERT_EQ(polled.size(), 1u) << "the node was not read back";
        // The front panel's black body is drawn over the rack's grey.
        for (int tries = 0; tries < 40; ++tries) {
            const Point body = program->RackPoint(0, 0, 30, 20);
            if (xscreen::Capture().At(body.x, body.y).IsBlack())
                return;
            SleepMs(50);
        }
        FAIL() << "the node is not drawn";
    }

    // DMX port i's socket (ports right to left).
    Point DmxPort(int index) const { return program->RackPoint(685 - 50 * index, 75, 20, 48); }
    Point EthernetPort() const { return program->RackPoint(100, 75, 20, 40); }

    // Hex key k of the DMX port dialog's keyboard: 175 units wide, centred, 120 units down,
    // keys of 40 units on a pitch of 45.
    static Point HexKey(const Dialog& dialog, int key)
    {
        const int left = dialog.x + (dialog.width - Scaled(175)) / 2;
        return Point{left + Scaled(45 * (key % 4)) + Scaled(40) / 2,
                     dialog.y + Scaled(120) + Scaled(45 * (key / 4)) + Scaled(40) / 2};
    }
    static Point DmxOk(const Dialog& dialog) { return dialog.At(22 + 20, 310 + 20); }

    // The network dialog's entries start 30 units after the "Subnet Mask" label, whose width
    // also makes the dialog's: width = label width × scale + 50 + 95.
    static int NetworkEntryX(const Dialog& dialog)
    {
        const double label = (dialog.width - 145) / rigwiseui::kScale;
        return int(label / rigwiseui::kScale) + 30;
    }
    static Point NetworkOk(const Dialog& dialog) { return dialog.At(20 + 20, 120 + 10); }

    SimNetwork network;
    std::unique_ptr<Program> program;
};

} // namespace

// DMX port and network settings dialogs with Auto Update on: "OK" sends the edit at once; a node
// given a new address by the network dialog is found again there and keeps being programmed.
TEST_F(NodeRack, DialogsSendOnOkAndAReaddressedNodeIsFoundAgain)
{
    // A point of the node's display screen (blue): a node gone lost is drawn shaded there.
    const Point face = program->RackPoint(650, 22, 0, 0);
    const Rgb online = xscreen::Capture().At(face.x, face.y);
    ASSERT_GT(online.b, 200) << "not on the display screen";
    // Port 1: Art-Net 1-5 output becomes sACN 6400 input.
    xscreen::Click(DmxPort(0).x, DmxPort(0).y);
    Dialog dialog = program->WaitForDialog(kDmxDialogHeight);
    ASSERT_TRUE(dialog.found()) << "no DMX port dialog";
    const Selector protocols = program->FindSelector(dialog, 20, 60, 3);
    xscreen::Click(protocols.Segment(1).x, protocols.Segment(1).y); // sACN: keeps 21
    for (int key : {6, 4, 0, 0}) // the first key replaces 21
        xscreen::Click(HexKey(dialog, key).x, HexKey(dialog, key).y);
    const Selector modes = program->FindSelector(dialog, 20, 30, 3);
    xscreen::Click(modes.Segment(1).x, modes.Segment(1).y); // Input
    program->Screenshot("dmx-port-dialog");
    size_t mark = RecordCount(network);
    xscreen::Click(DmxOk(dialog).x, DmxOk(dialog).y);

    auto sent = WaitFor(network, mark, 1, IsSettingsMessage);
    ASSERT_EQ(sent.size(), 1u) << "OK sent no port programming";
    EXPECT_EQ(sent[0].destination, kNodeAddress);
    EXPECT_EQ(sent[0].port, 6517);
    // Wire port 0, input, sACN 6400 = 0x0300 + 6400, the port value read back from the output
    // reply's bytes 160..163 returned in the input form's 18..21.
    EXPECT_EQ(sent[0].bytes, PortProgramming(0, 1, 0x1C00, 0x12345678));
    EXPECT_TRUE(program->WaitForNoDialog(kDmxDialogHeight)) << "OK left the dialog open";

    // Network settings: a new address typed on the real keyboard.
    xscreen::Click(EthernetPort().x, EthernetPort().y);
    dialog = program->WaitForDialog(kNetworkDialogHeight);
    ASSERT_TRUE(dialog.found()) << "no network settings dialog";
    const Point address = dialog.At(NetworkEntryX(dialog) + 47, 60 + 10);
    xscreen::Click(address.x, address.y);
    std::string erase;
    for (int i = 0; i < 12; ++i)
        erase += " BackSpace";
    xscreen::Key(erase);
    xscreen::Type("10.202.1.99");
    program->Screenshot("network-dialog");
    mark = RecordCount(network);
    xscreen::Click(NetworkOk(dialog).x, NetworkOk(dialog).y);

    sent = WaitFor(network, mark, 1, IsSettingsMessage);
    ASSERT_EQ(sent.size(), 1u) << "OK sent no network settings";
    EXPECT_EQ(sent[0].destination, "10.202.255.255"); // the adapter's directed broadcast only
    EXPECT_EQ(sent[0].port, 6464);
    EXPECT_EQ(sent[0].bytes, NetworkSettings(7, 0x0109, {0x63, 0x01, 0xCA, 0x0A},   // 10.202.1.99
                                             {0x00, 0x00, 0xFF, 0xFF})); // 255.255.0.0
    ASSERT_TRUE(program->WaitForNoDialog(kNetworkDialogHeight));

    // Two discovery rounds later the node has answered from its new address; had it not moved,
    // its reply would have put the old address back.
    mark = RecordCount(network);
    EXPECT_GE(WaitFor(network, mark, 4, IsDiscoveryRequest).size(), 4u);
    // A node whose replies from the new address were not taken would go lost 5 s after the
    // last one it sent from the old address.
    SleepMs(4000);
    program->Screenshot("rack-after-readdress");
    const Rgb later = xscreen::Capture().At(face.x, face.y);
    EXPECT_EQ(std::make_tuple(later.r, later.g, later.b),
              std::make_tuple(online.r, online.g, online.b))
        << "the readdressed node went lost";
    xscreen::Click(DmxPort(1).x, DmxPort(1).y);
    dialog = program->WaitForDialog(kDmxDialogHeight);
    ASSERT_TRUE(dialog.found()) << "the readdressed node no longer takes clicks";
    mark = RecordCount(network);
    xscreen::Click(DmxOk(dialog).x, DmxOk(dialog).y);
    sent = WaitFor(network, mark, 1, IsSettingsMessage);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].destination, "10.202.1.99");
    EXPECT_EQ(sent[0].bytes, PortProgramming(1, 1, 0x0302, 7)); // unchanged: sACN 2, input
}

// An edit in the network dialog is the user's until "OK", however many discovery rounds the node
// answers meanwhile: "Set to Default", then rounds for more than 2.5 s, then "OK".
TEST_F(NodeRack, NetworkEditOutlastsDiscoveryRoundsUntilOk)
{
    xscreen::Click(EthernetPort().x, EthernetPort().y);
    const Dialog dialog = program->WaitForDialog(kNetworkDialogHeight);
    ASSERT_TRUE(dialog.found()) << "no network settings dialog";
    const Point setToDefault = dialog.At(NetworkEntryX(dialog) + 47, 120 + 10);
    xscreen::Click(setToDefault.x, setToDefault.y);
    size_t mark = RecordCount(network);
    SleepMs(2600);
    // Each round is two requests to 255.255.255.255 and one to the adapter's broadcast.
    EXPECT_GE(WaitFor(network, mark, 6, IsDiscoveryRequest).size(), 6u);
    program->Screenshot("network-dialog-after-rounds");
    mark = RecordCount(network);
    xscreen::Click(NetworkOk(dialog).x, NetworkOk(dialog).y);

    const auto sent = WaitFor(network, mark, 1, IsSettingsMessage);
    ASSERT_EQ(sent.size(), 1u) << "OK sent no network settings";
    EXPECT_EQ(sent[0].bytes, NetworkSettings(7, 0x0109, {0x0C, 0x0B, 0x0A, 0x02},   // 2.10.11.12
                                             {0x00, 0x00, 0x00, 0xFF})); // 255.0.0.0
}

// With Auto Update off, "OK" only marks; "Update" then sends the node's device settings, every
// DMX port in order and the network settings.
TEST_F(NodeRack, WithAutoUpdateOffUpdateSendsEverythingInOrder)
{
    xscreen::Click(program->updateSwitch.x, program->updateSwitch.y);
    const size_t start = RecordCount(network);

    // Port 1: Art-Net 1-5 becomes 7-C.
    xscreen::Click(DmxPort(0).x, DmxPort(0).y);
    Dialog dialog = program->WaitForDialog(kDmxDialogHeight);
    ASSERT_TRUE(dialog.found()) << "no DMX port dialog";
    for (int key : {7, 12})
        xscreen::Click(HexKey(dialog, key).x, HexKey(dialog, key).y);
    xscreen::Click(DmxOk(dialog).x, DmxOk(dialog).y);
    ASSERT_TRUE(program->WaitForNoDialog(kDmxDialogHeight));

    // Network: DHCP.
    xscreen::Click(EthernetPort().x, EthernetPort().y);
    dialog = program->WaitForDialog(kNetworkDialogHeight);
    ASSERT_TRUE(dialog.found()) << "no network settings dialog";
    const Selector dhcp = program->FindSelector(dialog, 60, 30, 2);
    xscreen::Click(dhcp.Segment(1).x, dhcp.Segment(1).y);
    program->Screenshot("network-dialog-dhcp");
    xscreen::Click(NetworkOk(dialog).x, NetworkOk(dialog).y);
    ASSERT_TRUE(program->WaitForNoDialog(kNetworkDialogHeight));

    // A discovery round after the last "OK", nothing of the edits has gone out.
    EXPECT_GE(WaitFor(network, RecordCount(network), 2, IsDiscoveryRequest).size(), 2u);
    EXPECT_TRUE(WaitFor(network, start, 1, IsSettingsMessage, 0).empty())
        << "an edit was sent with Auto Update off";
    program->Screenshot("rack-modified-auto-update-off");

    const size_t mark = RecordCount(network);
    xscreen::Click(program->updateButton.x, program->updateButton.y);
    const auto sent = WaitFor(network, mark, 10, IsSettingsMessage);
    ASSERT_EQ(sent.size(), 10u) << "Update sent " << sent.size() << " of 10 messages";

    // Device settings, code 0x0020, 222 bytes.
    std::vector<uint8_t> device = Kivnet(0x0020, 222);
    PutText(device, 8, "Stage Left"); // name, zero-padded to 17 bytes
    Put(device, 34, {1});             // lock + 1: unlocked
    Put(device, 35, {2});             // display time-out code: 5 seconds
    Put(device, 94, {90, 165});       // option bytes A and B, as read
    EXPECT_EQ(sent[0].port, 6517);
    EXPECT_EQ(sent[0].destination, kNodeAddress);
    EXPECT_EQ(sent[0].bytes, device);

    const std::vector<std::vector<uint8_t>> ports = {
        PortProgramming(0, 2, 0x027C, 0x12345678), // Art-Net 7-C, output, value kept
        PortProgramming(1, 1, 0x0302, 7),          // sACN 2, input
        PortProgramming(2, 0, 0x0000, 0),          // disabled: nothing read but the mode
        PortProgramming(3, 2, 0x0105, 0),          // Shownet 6 = 0x00FF + 6
        PortProgramming(4, 2, 0x0204, 0),          // Art-Net 0-4
        PortProgramming(5, 2, 0x0205, 0),
        PortProgramming(6, 2, 0x0206, 0),
        PortProgramming(7, 2, 0x0207, 0)};
    for (size_t i = 0; i < ports.size(); ++i) {
        EXPECT_EQ(sent[1 + i].port, 6517) << "message " << 1 + i;
        EXPECT_EQ(sent[1 + i].bytes, ports[i]) << "port " << i;
    }
    EXPECT_EQ(sent[9].port, 6464);
    EXPECT_EQ(sent[9].bytes, NetworkSettings(7, 0x0109, {0, 0, 0, 0}, {0, 0, 0, 0})); // DHCP
}

// Auto Scan off stops the discovery requests; "Scan" then sends one Art-Net poll; "Exit" ends
// the program.
TEST_F(NodeRack, AutoScanOffStopsDiscoveryAndExitEndsTheProgram)
{
    xscreen::Click(program->scanSwitch.x, program->scanSwitch.y);
    const size_t mark = RecordCount(network);
    xscreen::Click(program->scanButton.x, program->scanButton.y);
    const auto isPoll = [](const SimNetwork::Record& record) {
        return record.port == 6454 && record.destination == "10.202.255.255";
    };
    const auto polls = WaitFor(network, mark, 1, isPoll);
    ASSERT_EQ(polls.size(), 1u) << "Scan sent no Art-Net poll";
    std::vector<uint8_t> poll(14, 0);
    PutText(poll, 0, "Art-Net");  // ID, zero-terminated
    Put(poll, 8, {0x00, 0x20});   // OpPoll, little-endian
    Put(poll, 10, {0x00, 0x0E});  // protocol version 14
    Put(poll, 12, {0x03});        // flags
    EXPECT_EQ(polls[0].bytes, poll);
    program->Screenshot("control-bar-auto-scan-off");

    // The poll went out after the switch was off: no discovery request may follow it. Two and
    // a half seconds span two rounds of the one-second request.
    std::vector<SimNetwork::Record> records = network.Received();
    size_t afterPoll = mark;
    while (afterPoll < records.size() && !isPoll(records[afterPoll]))
        ++afterPoll;
    SleepMs(2500);
    EXPECT_TRUE(WaitFor(network, afterPoll, 1, IsDiscoveryRequest, 0).empty())
        << "discovery continued with Auto Scan off";

    xscreen::Click(program->exitButton.x, program->exitButton.y);
    ASSERT_TRUE(program->WaitForEnd(5000)) << "Exit did not end the program";
    EXPECT_EQ(program->ExitCode(), 0);
}

namespace {

// One switch with eight ports (right to left from design x 565, 45 apart, at y 75) and the large
// display at 520, 15. Every port normal in VLAN 1.
const char kSwitch[] = R"({"devices": [
  {"model": "0x0318", "unit": 4, "ip": "10.202.1.4", "mask": "255.255.0.0",
   "name": "Switch FOH", "locked": false, "displayTimeout": 1, "switchWord": 258,
   "switchPorts": [{"mode": 1, "value": 1}, {"mode": 1, "value": 1}, {"mode": 1, "value": 1},
                   {"mode": 1, "value": 1}, {"mode": 1, "value": 1}, {"mode": 1, "value": 1},
                   {"mode": 1, "value": 1}, {"mode": 1, "value": 1}]}
]})";
const char kSwitchAddress[] = "10.202.1.4";

constexpr int kDeviceDialogHeight = 153; // 100 units + 30 for each of the display and lock rows
constexpr int kSwitchPortDialogHeight = 278; // 290 units

// Switch settings, code 0x0040, 450 bytes, as the switch above holds them with this name, lock,
// display code and port records (mode, VLAN or partner).
std::vector<uint8_t> SwitchSettings(const std::string& name, bool locked, uint8_t displayCode,
                                    const std::vector<std::pair<uint8_t, uint16_t>>& ports)
{
    std::vector<uint8_t> bytes = Kivnet(0x0040, 450);
    PutText(bytes, 8, name);                       // name, zero-padded to 17 bytes
    Put(bytes, 26, {uint8_t(locked ? 2 : 1)});     // lock + 1
    Put(bytes, 27, {8});                           // port records that follow
    Put(bytes, 28, {displayCode, 0});              // display code, little-endian
    Put(bytes, 30, {0x02, 0x01});                  // switch word 258, little-endian, as read
    for (size_t i = 0; i < ports.size(); ++i) {
        const size_t record = 66 + 16 * i;         // 16-byte records
        Put(bytes, record, {ports[i].first});      // mode
        Put(bytes, record + 1, {0});               // speed: Auto
        Put(bytes, record + 2, {uint8_t(ports[i].second), uint8_t(ports[i].second >> 8)});
    }
    return bytes;
}

class SwitchRack : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(network.ok());
        ASSERT_TRUE(network.StartSimulator(kSwitch));
        program = std::make_unique<Program>(network);
        ASSERT_TRUE(program->ok()) << "no program window with its control bar";
        // The switch's read-back ends with its identify request, answered at once.
        const auto identified = WaitFor(network, 0, 1, [](const SimNetwork::Record& record) {
            return record.port == 6517 && record.destination == kSwitchAddress &&
                   Code(record) == 0x0010;
        });
        ASSERT_EQ(identified.size(), 1u) << "the switch was not read back";
        for (int tries = 0; tries < 40; ++tries) {
            const Point body = program->RackPoint(0, 0, 30, 20);
            if (xscreen::Capture().At(body.x, body.y).IsBlack()) {
                SleepMs(200); // the settings reply that follows the identify reply
                return;
            }
            SleepMs(50);
        }
        FAIL() << "the switch is not drawn";
    }

    SimNetwork network;
    std::unique_ptr<Program> program;
};

} // namespace

// Device settings and switch port dialogs on a switch with Auto Update on: each "OK" sends the
// whole switch settings message; looping port 3 with port 5 pairs both.
TEST_F(SwitchRack, DeviceSettingsAndSwitchPortDialogsSendTheSwitchSettings)
{
    // The display opens the device settings: a new name, "1 Min", locked.
    const Point display = program->RackPoint(520, 15, 60, 25);
    xscreen::Click(display.x, display.y);
    Dialog dialog = program->WaitForDialog(kDeviceDialogHeight);
    ASSERT_TRUE(dialog.found()) << "no device settings dialog";
    // The display selector is the rightmost thing of its row; the name entry and the lock
    // switch start where it starts.
    const Selector timeouts = program->FindSelector(dialog, -1, 60, 3);
    const int column = timeouts.left;
    xscreen::Click(column + 40, dialog.y + Scaled(40));
    std::string erase;
    for (int i = 0; i < 12; ++i)
        erase += " BackSpace";
    xscreen::Key(erase);
    xscreen::Type("Truss 2");
    xscreen::Click(timeouts.Segment(2).x, timeouts.Segment(2).y);
    xscreen::Click(column + Scaled(71) / 4, dialog.y + Scaled(100)); // lock switch
    program->Screenshot("device-settings-dialog");
    size_t mark = RecordCount(network);
    xscreen::Click(dialog.At(40, 130).x, dialog.At(40, 130).y);

    auto sent = WaitFor(network, mark, 1, IsSettingsMessage);
    ASSERT_EQ(sent.size(), 1u) << "OK sent no switch settings";
    EXPECT_EQ(sent[0].destination, kSwitchAddress);
    std::vector<std::pair<uint8_t, uint16_t>> ports(8, {1, 1}); // normal, VLAN 1
    EXPECT_EQ(sent[0].bytes, SwitchSettings("Truss 2", true, 5, ports));
    ASSERT_TRUE(program->WaitForNoDialog(kDeviceDialogHeight));

    // Port 3: Trunk/Loop with partner 5, typed on the dialog's number keys.
    const Point port3 = program->RackPoint(565 - 45 * 2, 75, 20, 35);
    xscreen::Click(port3.x, port3.y);
    dialog = program->WaitForDialog(kSwitchPortDialogHeight);
    ASSERT_TRUE(dialog.found()) << "no switch port dialog";
    const Selector modes = program->FindSelector(dialog, 20, 60, 3);
    xscreen::Click(modes.Segment(2).x, modes.Segment(2).y);
    // Keyboard: 60 units centred, 150 down; keys of 20 units on a pitch of 25, 1-9 in rows of
    // three. The entries sit at the keyboard's x, the partner 90 units down.
    const int keyboardX = dialog.x + int((dialog.width - 60 * rigwiseui::kScale) * 0.5);
    xscreen::Click(keyboardX + Scaled(47), dialog.y + Scaled(100)); // partner entry
    const Point five{keyboardX + Scaled(25) + Scaled(10), dialog.y + Scaled(150) + Scaled(25) +
                                                              Scaled(10)};
    xscreen::Click(five.x, five.y); // the first key only empties the entry
    xscreen::Click(five.x, five.y);
    program->Screenshot("switch-port-dialog");
    mark = RecordCount(network);
    xscreen::Click(dialog.At(40, 270).x, dialog.At(40, 270).y);

    sent = WaitFor(network, mark, 1, IsSettingsMessage);
    ASSERT_EQ(sent.size(), 1u) << "OK sent no switch settings";
    ports[2] = {2, 5}; // port 3 loops with 5
    ports[4] = {2, 3}; // port 5 loops with 3
    EXPECT_EQ(sent[0].bytes, SwitchSettings("Truss 2", true, 5, ports));
    ASSERT_TRUE(program->WaitForNoDialog(kSwitchPortDialogHeight));
    program->Screenshot("switch-rack-after-loop");
}
