// "Save Rig" and "Load Rig" on the built program against the device simulator, with the
// desktop's own file dialogs, real key presses and the bytes the devices receive after
// "Update" checked against the message tables.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "e2e/rigwiseui.h"
#include "e2e/screen.h"
#include "e2e/wirerecords.h"
#include "support/simnetwork.h"

using rigwiseui::Dialog;
using rigwiseui::Point;
using rigwiseui::Program;
using rigwiseui::Scaled;
using namespace wirerecords;

namespace {

// An eight-port node (unit 7) and an eight-port switch (unit 8). As the rig was saved...
const char kSavedRig[] = R"({"devices": [
  {"model": "0x0109", "unit": 7, "ip": "10.202.1.9", "mask": "255.255.0.0",
   "mac": "00:50:c2:0a:0b:0c", "name": "Stage Left", "displayTimeout": 2,
   "ports": [{"mode": "output", "universe": "0x0215"}, {"mode": "output", "universe": "0x0216"},
             {"mode": "output", "universe": "0x0217"}, {"mode": "output", "universe": "0x0218"},
             {"mode": "output", "universe": "0x0219"}, {"mode": "output", "universe": "0x021A"},
             {"mode": "output", "universe": "0x021B"}, {"mode": "output", "universe": "0x021C"}]},
  {"model": "0x0318", "unit": 8, "ip": "10.202.1.10", "mask": "255.255.0.0",
   "mac": "00:50:c2:0a:0b:0d", "name": "FOH Switch",
   "switchPorts": [{"mode": 1, "value": 1}, {"mode": 1, "value": 1}, {"mode": 1, "value": 1},
                   {"mode": 1, "value": 1}, {"mode": 1, "value": 1}, {"mode": 1, "value": 1},
                   {"mode": 1, "value": 1}, {"mode": 1, "value": 1}]}
]})";

// ...and after a day at another venue: the node renamed, readdressed and its port 1 on another
// universe; the switch's port 3 on VLAN 55.
std::string ChangedRig()
{
    std::string rig = kSavedRig;
    auto replace = [&rig](const std::string& from, const std::string& to) {
        rig.replace(rig.find(from), from.size(), to);
    };
    replace("\"Stage Left\"", "\"Somewhere Else\"");
    replace("10.202.1.9\"", "10.202.1.19\"");
    replace("0x0215", "0x0230");
    replace("{\"mode\": 1, \"value\": 1}, {\"mode\": 1, \"value\": 1}, {\"mode\": 1, \"value\": 1}",
            "{\"mode\": 1, \"value\": 1}, {\"mode\": 1, \"value\": 1}, {\"mode\": 1, \"value\": 55}");
    return rig;
}

bool FileHas(const std::string& path, const std::string& text)
{
    std::ifstream in(path);
    const std::string content((std::istreambuf_iterator<char>(in)), {});
    return content.find(text) != std::string::npos;
}

// Waits (bounded) until a window with this title, such as the desktop's file dialog, is
// shown or, with `shown` false, gone.
bool WaitForWindow(const std::string& title, bool shown = true)
{
    for (int tries = 0; tries < 100; ++tries) {
        const std::string found = xscreen::Xdotool("search --onlyvisible --name '^" + title + "$'");
        if (found.empty() != shown)
            return true;
        SleepMs(100);
    }
    return false;
}

// Enters a path into the file dialog that has just opened, as a user types it.
void ChooseFile(const std::string& title, const std::string& path)
{
    ASSERT_TRUE(WaitForWindow(title)) << "no file dialog \"" << title << "\"";
    SleepMs(500);
    // The location entry, in either dialog, emptied of the suggested name.
    xscreen::Key("ctrl+l");
    SleepMs(200);
    xscreen::Key("ctrl+a");
    xscreen::Type(path);
    SleepMs(200);
    xscreen::Key("Return");
    ASSERT_TRUE(WaitForWindow(title, false)) << "the file dialog stayed open";
}

// The number of clearly red pixels in a box of the screen.
int RedPixels(const Shot& shot, Point from, Point to)
{
    int red = 0;
    for (int y = from.y; y <= to.y; ++y)
        for (int x = from.x; x <= to.x; ++x) {
            const Rgb pixel = shot.At(x, y);
            red += pixel.r > 200 && pixel.g < 80 && pixel.b < 80;
        }
    return red;
}

class RigFileEndToEnd : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/rigfile-e2e-XXXXXX";
        folder = mkdtemp(pattern);
        ASSERT_TRUE(network.ok());
        ASSERT_TRUE(network.StartSimulator(kSavedRig));
        program = std::make_unique<Program>(network);
        ASSERT_TRUE(program->ok()) << "no program window with its control bar";
        WaitForReadBack("10.202.1.9");
    }

    void TearDown() override { std::system(("rm -rf " + folder).c_str()); }

    // The node's read-back ends with its Art-Net poll, the switch's with its settings request.
    void WaitForReadBack(const std::string& nodeAddress)
    {
        const auto polled = WaitFor(network, 0, 1, [&nodeAddress](const SimNetwork::Record& r) {
            return r.port == 6454 && r.destination == nodeAddress;
        }, 15000);
        ASSERT_GE(polled.size(), 1u) << "the node was not read back";
        const auto asked = WaitFor(network, 0, 1, [](const SimNetwork::Record& r) {
            return r.port == 6517 && r.destination == "10.202.1.10" && Code(r) == 0x0041;
        }, 15000);
        ASSERT_GE(asked.size(), 1u) << "the switch was not read back";
        SleepMs(500);
    }

    // Closes the drawn message of this many lines with its "OK".
    void CloseMessage(int lines)
    {
        const int height = Scaled(40 + 18 * lines + 10 + 20 + 20);
        const Dialog message = program->WaitForDialog(height);
        ASSERT_TRUE(message.found()) << "no message of " << lines << " lines";
        xscreen::Click(message.x + message.width / 2, message.y + Scaled(40 + 18 * lines + 20));
        ASSERT_TRUE(program->WaitForNoDialog(height));
    }

    SimNetwork network;
    std::unique_ptr<Program> program;
    std::string folder;
};

} // namespace

TEST_F(RigFileEndToEnd, SavedRigComesBackAsPendingValuesThatUpdateSends)
{
    const std::string path = folder + "/show.rigwise.json";
    xscreen::Key("ctrl+s");
    ChooseFile("Save Rig", path);
    for (int tries = 0; tries < 50 && !FileHas(path, "Stage Left"); ++tries)
        SleepMs(100);
    ASSERT_TRUE(FileHas(path, "\"unit\": 7")) << "no rig file written";
    ASSERT_TRUE(FileHas(path, "FOH Switch"));
    CloseMessage(1);

    // Another venue: the program starts again and finds the devices changed.
    program.reset();
    network.StopSimulator();
    ASSERT_TRUE(network.StartSimulator(ChangedRig()));
    program = std::make_unique<Program>(network);
    ASSERT_TRUE(program->ok());
    WaitForReadBack("10.202.1.19");
    const Shot before = xscreen::Capture();
    const Point face = program->RackPoint(650, 22, 0, 0);
    ASSERT_EQ(RedPixels(before, face, Point{face.x + 4, face.y + 4}), 0);

    xscreen::Click(program->loadRigButton.x, program->loadRigButton.y);
    ChooseFile("Load Rig", path);
    // "Loaded ...", "4 values differ ...", "Auto Update is now off."
    const int messageHeight = Scaled(40 + 18 * 3 + 10 + 20 + 20);
    ASSERT_TRUE(program->WaitForDialog(messageHeight).found()) << "no summary";
    program->Screenshot("rig-loaded");
    CloseMessage(3);

    // Exactly the changed values are drawn red: the node's display (name), its port 1 and its
    // Ethernet port (address), the switch's port 3; not port 2, not the switch's port 2.
    const Shot loaded = xscreen::Capture();
    program->Screenshot("rig-pending");
    auto redIn = [&loaded](Point from, Point to) { return RedPixels(loaded, from, to); };
    EXPECT_GT(redIn(face, Point{face.x + 4, face.y + 4}), 0) << "name not pending";
    const Point port1 = program->RackPoint(685, 75, 0, 0);
    const Point port2 = program->RackPoint(635, 75, 0, 0);
    EXPECT_GT(redIn(port1, program->RackPoint(685, 75, 45, 70)), 0) << "port 1 not pending";
    EXPECT_EQ(redIn(port2, program->RackPoint(635, 75, 45, 70)), 0) << "port 2 drawn pending";
    EXPECT_GT(redIn(program->RackPoint(100, 75, 0, 0), program->RackPoint(100, 75, 80, 60)), 0)
        << "address not pending";

    // Auto Update is off now: "Update" sends what is red, and the devices hold the saved
    // values again.
    const size_t mark = RecordCount(network);
    xscreen::Click(program->updateButton.x, program->updateButton.y);
    auto sentTo = [&](const std::string& address, uint16_t code, size_t count) {
        return WaitFor(network, mark, count, [&](const SimNetwork::Record& record) {
            return IsSettingsMessage(record) && Code(record) == code &&
                   (record.port == 6464 || record.destination == address);
        }, 6000);
    };
    // The node: device settings, its eight ports, network settings (a broadcast, which each
    // simulated device records).
    const auto device = sentTo("10.202.1.19", 0x0020, 1);
    ASSERT_EQ(device.size(), 1u);
    EXPECT_EQ(std::string(device[0].bytes.begin() + 8, device[0].bytes.begin() + 19),
              std::string("Stage Left\0", 11));
    const auto ports = sentTo("10.202.1.19", 0x0030, 8);
    ASSERT_EQ(ports.size(), 8u);
    EXPECT_EQ(ports[0].bytes, PortProgramming(0, 2, 0x0215, 0));
    EXPECT_EQ(ports[1].bytes, PortProgramming(1, 2, 0x0216, 0)) << "unchanged, sent as it is";
    const auto addressed = sentTo("", 0x0088, 4);
    ASSERT_GE(addressed.size(), 2u);
    EXPECT_EQ(addressed[0].bytes, NetworkSettings(7, 0x0109, {0x09, 0x01, 0xCA, 0x0A}, // 10.202.1.9
                                                  {0x00, 0x00, 0xFF, 0xFF}));      // 255.255.0.0
    // The switch: its settings with port 3 on VLAN 1 again.
    const auto switchSettings = sentTo("10.202.1.10", 0x0040, 1);
    ASSERT_EQ(switchSettings.size(), 1u);
    const std::vector<uint8_t>& bytes = switchSettings[0].bytes;
    ASSERT_EQ(bytes.size(), 450u);
    EXPECT_EQ(bytes[66 + 16 * 2], 1);     // port 3: normal
    EXPECT_EQ(bytes[66 + 16 * 2 + 2], 1); // VLAN 1, little-endian
    EXPECT_EQ(bytes[66 + 16 * 2 + 3], 0);
}
