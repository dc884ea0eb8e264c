// Devices that are slow and change under the program: the first requests of a kind ignored, a
// share dropped, answers jittered, a pause that ends by itself, settings changed on the device's
// own front panel. Set in the device list or on the control socket; expected fields are written
// by hand from the byte tables.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/handbytes.h"
#include "support/simnetwork.h"

using testing::ElementsAreArray;
using testing::SizeIs;
using testing::StartsWith;

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::milliseconds;

constexpr uint16_t kUpdatePort = 6464;
constexpr uint16_t kKivnetPort = 6517;
constexpr uint16_t kArtNetPort = 6454;

// A NodeBeta with an output, an input and a disabled port; switches as they come by default.
const char kNode[] = R"("model": "0x0103", "name": "Dimmer Rack West",
  "ports": [{"mode": "output", "universe": "0x0212", "value": "0xA1B2C3D4"},
            {"mode": "input", "universe": "0x0305", "value": "0x01020304"},
            {"mode": "disabled"}])";
const char kTheta[] = R"("model": "0x0318")";
const char kKappa[] = R"("model": "0x0319")";

std::string Address(size_t device)
{
    return "10.202.1." + std::to_string(60 + device);
}

std::vector<uint8_t> PortRequest(uint8_t wirePort)
{
    std::vector<uint8_t> request = Kivnet(0x0031, 10);
    request[8] = wirePort;
    return request;
}

const std::vector<uint8_t> kArtPoll{'A', 'r', 't', '-', 'N', 'e', 't', 0, 0x00, 0x20, 0, 14};

class SimSlow : public testing::Test {
protected:
    static std::string With(const char* device, const std::string& settings)
    {
        return settings.empty() ? device : std::string(device) + ", " + settings;
    }
    // One device per entry, each entry its list members but the address.
    static std::string Rack(const std::vector<std::string>& entries)
    {
        std::string json = R"({"devices": [)";
        for (size_t i = 0; i < entries.size(); ++i)
            json += std::string(i ? "," : "") + "{" + entries[i] + R"(, "ip": ")" + Address(i) +
                    R"(", "mask": "255.255.0.0"})";
        return json + "]}";
    }
    void Start(const std::vector<std::string>& entries)
    {
        network_ = std::make_unique<SimNetwork>();
        ASSERT_TRUE(network_->ok()) << "the private network did not come up";
        ASSERT_TRUE(network_->StartSimulator(Rack(entries)));
        ASSERT_TRUE(EnterProgramSide(*network_, side_, client_));
    }

    // Every answer to one request, until none has come for 150 ms.
    std::vector<std::vector<uint8_t>> Answers(size_t device, uint16_t port,
                                              const std::vector<uint8_t>& request)
    {
        client_->SendTo(Address(device), port, request);
        std::vector<std::vector<uint8_t>> answers;
        for (const auto& answer : client_->Receive(100, 150, 3000))
            answers.push_back(answer.bytes);
        return answers;
    }

    // A command with N standing for the device ("pause N 0.3" for device 4: "pause 4 0.3").
    void Control(std::string command, size_t device)
    {
        const size_t at = command.find(" N");
        if (at != std::string::npos)
            command.replace(at + 1, 1, std::to_string(device));
        ASSERT_EQ(network_->Control(command), "ok") << command;
    }

    // Members go in reverse: the client, then the program's side, then the network.
    std::unique_ptr<SimNetwork> network_;
    std::unique_ptr<ProgramSide> side_;
    std::unique_ptr<SimClient> client_;
};

TEST_F(SimSlow, IgnoresTheFirstRequestsOfAKindThenAnswers)
{
    // Steps: the request's letter, then "+" answered, "-" no answer, "~" the device settings
    // reply cut short to 95 bytes.
    const std::string letters = "dspxiwa";
    const struct {
        uint16_t port;
        std::vector<uint8_t> bytes;
        size_t answerLength;
    } requests[] = {
        {kUpdatePort, DiscoveryRequest(), 50}, // d: discovery
        {kKivnetPort, Kivnet(0x0021), 222},    // s: device settings
        {kKivnetPort, PortRequest(0), 164},    // p: port settings
        {kKivnetPort, PortRequest(7), 0},      // x: port settings for a port the node lacks
        {kKivnetPort, Kivnet(0x0010), 44},     // i: identify
        {kKivnetPort, Kivnet(0x0041), 450},    // w: switch settings
        {kArtNetPort, kArtPoll, 239},          // a: ArtPoll
    };
    const struct {
        std::string entry;
        const char* command; // sent first, N standing for the device
        const char* steps;
    } cases[] = {
        // clang-format off
        {With(kNode, R"("ignoreFirst": {"deviceSettings": 2})"), nullptr, "p+ s- s- s+ s+"},
        {kNode, "ignore N portSettings 1", "s+ p- p+"},
        {With(kNode, R"("ignoreFirst": {"portSettings": 1})"), nullptr, "x- p- p+"},
        {With(kTheta, R"("ignoreFirst": {"identify": 1})"), nullptr, "w+ i- i+"},
        {kTheta, "ignore N switchSettings 2", "i+ w- w- w+"},
        {With(kNode, R"("ignoreFirst": {"artPoll": 1})"), nullptr, "a- s+ a+"},
        {kNode, "ignore N discovery 1", "d- a+ d+"},
        {With(kNode, R"("ignoreFirst": {"deviceSettings": 1, "portSettings": 1})"), nullptr,
         "p- s- p+ s+"},
        // An ignored request leaves the spoil for the next answer.
        {With(kNode, R"("ignoreFirst": {"deviceSettings": 1}, "spoilNext": "short")"), nullptr,
         "s- s~ s+"},
        {kNode, "ignore all deviceSettings 1", "s- s+"}, // last: it reaches every device
        // clang-format on
    };
    std::vector<std::string> entries;
    for (const auto& test : cases)
        entries.push_back(test.entry);
    Start(entries);

    for (size_t device = 0; device < std::size(cases); ++device) {
        if (cases[device].command)
            Control(cases[device].command, device);
        std::istringstream steps(cases[device].steps);
        std::string step;
        while (steps >> step) {
            SCOPED_TRACE("device " + std::to_string(device) + ", " + step);
            const auto& request = requests[letters.find(step[0])];
            const auto answers = Answers(device, request.port, request.bytes);
            if (step[1] == '-') {
                EXPECT_THAT(answers, SizeIs(0));
            } else {
                ASSERT_THAT(answers, SizeIs(1));
                EXPECT_THAT(answers[0], SizeIs(step[1] == '~' ? 95 : request.answerLength));
            }
        }
    }
}

TEST_F(SimSlow, DropsAShareOfWhatOneDeviceReceivesFromTheSeededGenerator)
{
    const struct {
        const char* settings;
        const char* command;
        size_t fewest, most; // answers to 20 requests
    } cases[] = {
        {R"("dropPercent": 100)", nullptr, 0, 0},
        {"", "drop N 100", 0, 0},
        {R"("dropPercent": 50)", nullptr, 4, 16},
        {"", nullptr, 20, 20},
        {"", "drop 100", 0, 0},                   // the simulator's share, from here on
        {R"("dropPercent": 0)", nullptr, 20, 20}, // a device's own share comes first
    };
    std::vector<std::string> entries;
    for (const auto& test : cases)
        entries.push_back(With(kNode, test.settings));
    Start(entries);
    for (size_t device = 0; device < std::size(cases); ++device) {
        SCOPED_TRACE(device);
        if (cases[device].command)
            Control(cases[device].command, device);
        for (int i = 0; i < 20; ++i)
            client_->SendTo(Address(device), kKivnetPort, Kivnet(0x0021));
        const size_t answered = client_->Receive(100, 300, 3000).size();
        EXPECT_GE(answered, cases[device].fewest);
        EXPECT_LE(answered, cases[device].most);
    }

    // One broadcast to 64 devices that drop half: the same seed leaves the same ones silent.
    const std::vector<std::string> halves(64, With(kNode, R"("dropPercent": 50)"));
    auto answering = [&](const char* seed) {
        network_->StopSimulator();
        std::set<std::string> senders;
        if (network_->StartSimulator(Rack(halves), {"--seed", seed})) {
            client_->SendTo("255.255.255.255", kUpdatePort, DiscoveryRequest());
            for (const auto& answer : client_->Receive(64, 300, 3000))
                senders.insert(answer.sender);
        }
        return senders;
    };
    const std::set<std::string> first = answering("7");
    EXPECT_GE(first.size(), 16u);
    EXPECT_LE(first.size(), 48u);
    EXPECT_EQ(answering("7"), first);
    EXPECT_NE(answering("8"), first);
}

// Each answer waits its own random time: ten port requests sent at once come back out of order,
// spread over the jitter but not far beyond it.
TEST_F(SimSlow, JitteredAnswersOvertakeEachOther)
{
    const struct {
        const char* settings;
        const char* command;
        bool jittered;
    } cases[] = {
        {R"("jitterMs": 150)", nullptr, true},
        {"", "jitter N 150", true},
        {"", nullptr, false},
        {"", "jitter 150", true},             // the simulator's jitter, from here on
        {R"("jitterMs": 0)", nullptr, false}, // a device's own jitter comes first
    };
    std::vector<std::string> entries;
    for (const auto& test : cases)
        entries.push_back(With(R"("model": "0x0108")", test.settings)); // NodeDelta: ports 0..9
    Start(entries);

    for (size_t device = 0; device < std::size(cases); ++device) {
        SCOPED_TRACE(device);
        if (cases[device].command)
            Control(cases[device].command, device);
        const Clock::time_point sent = Clock::now();
        for (uint8_t port = 0; port < 10; ++port)
            client_->SendTo(Address(device), kKivnetPort, PortRequest(port));
        std::vector<int> order;
        Clock::duration last{};
        while (order.size() < 10) {
            const auto answer = client_->Receive(1, 1000, 1000);
            if (answer.empty() || answer[0].bytes.size() != 164)
                break;
            order.push_back(answer[0].bytes[8]);
            last = Clock::now() - sent;
        }
        ASSERT_THAT(order, SizeIs(10));
        EXPECT_EQ(std::is_sorted(order.begin(), order.end()), !cases[device].jittered)
            << testing::PrintToString(order);
        if (cases[device].jittered) {
            EXPECT_GE(last, Ms(20)) << "the last of ten answers hardly waited";
            EXPECT_LT(last, Ms(150 + 250));
        }
    }
}

TEST_F(SimSlow, APausedDeviceAnswersAgainByItself)
{
    const struct {
        const char* settings;
        std::vector<const char*> before; // commands, N standing for the device
        const char* after;               // sent after the first request
        int waitMs;                      // from the case's start to the second request
        size_t answersFirst, answersLater;
    } cases[] = {
        // clang-format off
        {R"("pauseForMs": 1000)", {}, nullptr, 1100, 0, 1}, // first: paused from the start
        {R"("pauseAfterMs": 600000, "pauseForMs": 1000)", {}, nullptr, 0, 1, 1},
        {"", {"pause N 0.3"}, nullptr, 350, 0, 1},
        {"", {"pause N 60"}, "resume N", 0, 0, 1},
        {"", {"stop N", "pause N 0.2"}, nullptr, 300, 0, 0}, // a stopped device stays stopped
        {"", {"pause all 0.2"}, nullptr, 250, 0, 1},         // last: it reaches every device
        // clang-format on
    };
    std::vector<std::string> entries;
    for (const auto& test : cases)
        entries.push_back(With(kNode, test.settings));
    Start(entries);

    for (size_t device = 0; device < std::size(cases); ++device) {
        SCOPED_TRACE(device);
        const Clock::time_point start = Clock::now();
        for (const char* command : cases[device].before)
            Control(command, device);
        EXPECT_THAT(Answers(device, kKivnetPort, Kivnet(0x0021)),
                    SizeIs(cases[device].answersFirst));
        if (cases[device].after)
            Control(cases[device].after, device);
        std::this_thread::sleep_until(start + Ms(cases[device].waitMs));
        EXPECT_THAT(Answers(device, kKivnetPort, Kivnet(0x0021)),
                    SizeIs(cases[device].answersLater));
    }
}

// A setting changed on the device itself is in its answers exactly as one the program set.
TEST_F(SimSlow, FrontPanelChangesAreInTheDevicesAnswers)
{
    // A text field of `width` bytes as it travels: the text, then zeros.
    auto text = [](const std::string& value, size_t width) {
        std::vector<uint8_t> bytes(width, 0);
        std::copy(value.begin(), value.end(), bytes.begin());
        return bytes;
    };
    const std::vector<uint8_t> discovery = DiscoveryRequest(), device = Kivnet(0x0021),
                               switchSettings = Kivnet(0x0041);
    const struct {
        std::string entry;
        const char* command; // N standing for the device; null: the change is in the list
        int waitMs;          // from the case's start to the request
        uint16_t port;
        std::vector<uint8_t> request;
        size_t offset; // of the field checked in the answer
        std::vector<uint8_t> expected;
    } cases[] = {
        // clang-format off
        {kNode, "rename N Stage Right", 0, kUpdatePort, discovery, 8, text("Stage Right", 18)},
        {kTheta, "rename N Spare", 0, kKivnetPort, switchSettings, 8, text("Spare", 17)},
        {kNode, "port N 2 output 0x0201", 0, kKivnetPort, PortRequest(2), 8, {2, 2, 0, 0, 2, 1}},
        {kNode, "port N 1 - 0x0107", 0, kKivnetPort, PortRequest(1), 8,
         {1, 1, 0, 0, 1, 7, 0, 0, 0, 0, 1, 2, 3, 4}}, // input, its port value kept
        {kKappa, "speed N 10 3", 0, kKivnetPort, switchSettings, 66 + 8 * 9, {1, 3, 1, 0}},
        {With(kNode, R"("panelChanges": [{"name": "Early"}])"), nullptr, 0, kUpdatePort,
         discovery, 8, text("Early", 18)},
        {With(kNode, R"("panelChanges": [{"port": 0, "universe": "0x0113"}])"), nullptr, 0,
         kKivnetPort, PortRequest(0), 8, {0, 2, 0, 0, 1, 0x13}},
        {With(kNode, R"("panelChanges": [{"afterMs": 300, "name": "Later"}])"), nullptr, 350,
         kKivnetPort, device, 8, text("Later", 17)},
        {With(kNode, R"("panelChanges": [{"afterMs": 600000, "name": "Much Later"}])"), nullptr,
         0, kKivnetPort, device, 8, text("Dimmer Rack West", 17)},
        // clang-format on
    };
    std::vector<std::string> entries;
    for (const auto& test : cases)
        entries.push_back(test.entry);
    Start(entries);

    for (size_t index = 0; index < std::size(cases); ++index) {
        const auto& test = cases[index];
        SCOPED_TRACE(index);
        const Clock::time_point start = Clock::now();
        if (test.command)
            Control(test.command, index);
        std::this_thread::sleep_until(start + Ms(test.waitMs));
        const auto answers = Answers(index, test.port, test.request);
        ASSERT_THAT(answers, SizeIs(1));
        ASSERT_GE(answers[0].size(), test.offset + test.expected.size());
        EXPECT_THAT(
            std::vector<uint8_t>(answers[0].begin() + long(test.offset),
                                 answers[0].begin() + long(test.offset + test.expected.size())),
            ElementsAreArray(test.expected));
    }
}

TEST_F(SimSlow, BadSettingsAreRefusedOnTheControlSocketAndInTheList)
{
    Start({kNode, kTheta});
    // clang-format off
    for (const char* command : {
             "ignore 0 settings 1", "ignore 0 portSettings -1", "drop 0 101", "drop 9 50",
             "drop 0 fifty", "jitter 0 -5", "pause 0 -1", "pause 0 soon", "rename 0",
             "port 0 3 output", "port 0 0 sideways", "port 0 0 output 0x10000", "port 1 0 output",
             "speed 1 9 1", "speed 1 1 4", "speed 0 1 1"})
        EXPECT_THAT(network_->Control(command), StartsWith("error")) << command;

    network_->StopSimulator();
    for (const char* setting : {
             R"("ignoreFirst": {"settings": 1})", R"("dropPercent": 101)", R"("jitterMs": -2)",
             R"("pauseForMs": -1)", R"("panelChanges": [{"afterMs": 0}])",
             R"("panelChanges": [{"name": ""}])", R"("panelChanges": [{"port": 3, "mode": 2}])",
             R"("panelChanges": [{"switchPort": 1, "speed": 2}])"})
        EXPECT_FALSE(network_->StartSimulator(Rack({With(kNode, setting)}))) << setting;
    // clang-format on
}

} // namespace
