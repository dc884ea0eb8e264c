// The built program started with --no-artnet against the device simulator: it finds and reads
// back a device without a single datagram to the Art-Net port; and the program started while
// another program holds that port shows "Oops!" and says on standard error which port it is.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/rigwiseui.h"
#include "e2e/screen.h"
#include "support/simnetwork.h"

using rigwiseui::Program;
using testing::HasSubstr;

namespace {

// A node with three DMX ports: read back by a device request and three port requests.
const char kThreePortNode[] = R"({"devices": [
  {"model": "0x0103", "unit": 3, "ip": "10.202.1.3", "mask": "255.255.0.0",
   "mac": "00:50:c2:0a:0b:03", "name": "Dimmer Rack",
   "ports": [{"mode": "output", "universe": "0x0101", "value": 0},
             {"mode": "input", "universe": "0x0102", "value": 0},
             {"mode": "disabled"}]}
]})";
const char kNodeAddress[] = "10.202.1.3";

void SleepMs(int ms)
{
    usleep(useconds_t(ms) * 1000);
}

bool IsKivnetRequest(const SimNetwork::Record& record, uint8_t code)
{
    return record.port == 6517 && record.destination == kNodeAddress && record.bytes.size() >= 8 &&
           record.bytes[6] == 0x00 && record.bytes[7] == code;
}

// Waits (bounded) until the simulator has received a datagram the predicate picks.
template <class Pick> bool WaitForRecord(const SimNetwork& network, Pick pick, int limitMs = 6000)
{
    for (int waited = 0; waited <= limitMs; waited += 50) {
        for (const SimNetwork::Record& record : network.Received())
            if (pick(record))
                return true;
        SleepMs(50);
    }
    return false;
}

size_t CountArtNet(const SimNetwork& network)
{
    size_t count = 0;
    for (const SimNetwork::Record& record : network.Received())
        count += record.port == 6454 ? 1 : 0;
    return count;
}

// Black pixels of the rack's area, under the control bar and above the status line.
int BlackInRack(const Shot& shot)
{
    int black = 0;
    for (int y = 60; y < rigwiseui::kWindowHeight - 40; ++y)
        for (int x = 0; x < rigwiseui::kWindowWidth; ++x)
            black += shot.At(x, y).IsBlack() ? 1 : 0;
    return black;
}
// Front and back of the smallest model are well over this at the test's window size.
constexpr int kPanelsLeast = 40000;

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

TEST(NoArtNetEndToEnd, FindsAndReadsBackADeviceWithNothingSentToTheArtNetPort)
{
    SimNetwork network;
    ASSERT_TRUE(network.ok());
    ASSERT_TRUE(network.StartSimulator(kThreePortNode));
    Program program(network, {"--no-artnet"});
    ASSERT_TRUE(program.ok()) << "no program window with its control bar";

    // Found: its settings are asked for; read back: both ports are asked for.
    EXPECT_TRUE(WaitForRecord(network, [](const SimNetwork::Record& r) {
        return IsKivnetRequest(r, 0x21);
    })) << "the device was not found";
    EXPECT_TRUE(WaitForRecord(network, [](const SimNetwork::Record& r) {
        return IsKivnetRequest(r, 0x31) && r.bytes.size() > 8 && r.bytes[8] == 2;
    })) << "the device's last port was not read back";
    // The panels' black bodies are drawn over the rack's grey.
    bool drawn = false;
    for (int tries = 0; tries < 40 && !drawn; ++tries) {
        drawn = BlackInRack(xscreen::Capture()) > kPanelsLeast;
        if (!drawn)
            SleepMs(50);
    }
    EXPECT_TRUE(drawn) << "the device is not drawn";

    // "Scan" with Auto Scan off is the other way an ID poll would go out.
    xscreen::Click(program.scanSwitch.x, program.scanSwitch.y);
    xscreen::Click(program.scanButton.x, program.scanButton.y);
    SleepMs(2500);
    program.Screenshot("no-artnet");
    EXPECT_EQ(CountArtNet(network), 0u) << "a datagram went to port 6454";
    EXPECT_FALSE(program.WaitForEnd(0)) << "the program ended";
}

TEST(NoArtNetEndToEnd, ArtNetPortHeldElsewhereShowsOopsAndStandardErrorNamesItAndTheWayOut)
{
    SimNetwork network;
    ASSERT_TRUE(network.ok());
    {
        // Another program on the program's side holds 6454 (without address reuse).
        ProgramSide side(network);
        ASSERT_TRUE(side.ok());
        SimClient holder(6454);
        ASSERT_TRUE(holder.ok());

        const std::string errors = RIGWISE_TEST_DATA_DIR "/artnet-held.err";
        std::remove(errors.c_str());
        const pid_t pid = network.StartOnProgramSide(
            {"/bin/sh", "-c", "exec \"$0\" 2>\"$1\"", RIGWISE_BINARY, errors});
        ASSERT_GT(pid, 0);
        std::string oops;
        for (int tries = 0; tries < 100 && oops.empty(); ++tries) {
            std::istringstream(xscreen::Xdotool("search --onlyvisible --name '^Oops!$'")) >> oops;
            if (oops.empty())
                SleepMs(100);
        }
        EXPECT_FALSE(oops.empty()) << "no Oops! box";
        const std::string said = ReadFile(errors);
        EXPECT_THAT(said, HasSubstr("UDP port 6454 (Art-Net) is held by another program"));
        EXPECT_THAT(said, HasSubstr("--no-artnet"));
        EXPECT_THAT(said, testing::Not(HasSubstr("6517")));
        EXPECT_THAT(said, testing::Not(HasSubstr("6464")));

        if (!oops.empty())
            xscreen::Xdotool("windowfocus --sync " + oops + " key Return");
        int status = 0;
        bool ended = false;
        for (int waited = 0; waited < 5000 && !ended; waited += 50) {
            ended = waitpid(pid, &status, WNOHANG) == pid;
            if (!ended)
                SleepMs(50);
        }
        EXPECT_TRUE(ended) << "the program did not end after Oops!";
        if (!ended)
            SimNetwork::StopProcess(pid);
    }
}
