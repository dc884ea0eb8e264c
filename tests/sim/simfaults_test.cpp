// Devices that answer like real ones: late, twice, or with an answer the program must refuse,
// set in the device list or on the control socket. Expected answers are written by hand.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "support/handbytes.h"
#include "support/simnetwork.h"

using testing::Each;
using testing::ElementsAreArray;
using testing::Ge;
using testing::SizeIs;
using testing::StartsWith;

namespace {

constexpr uint16_t kKivnetPort = 6517;

// Every device of the racks below: a NodeBeta with an output, an input and a disabled port.
const char kNode[] = R"("model": "0x0103", "mask": "255.255.0.0", "name": "Rack Node",
  "ports": [{"mode": "output", "universe": "0x0212", "value": "0xA1B2C3D4"},
            {"mode": "input", "universe": "0x0305", "value": "0x01020304"},
            {"mode": "disabled"}])";

std::string Address(size_t device) { return "10.202.1." + std::to_string(40 + device); }

// A rack of one node per entry, each with these extra members in its list entry.
std::string Rack(const std::vector<std::string>& settings)
{
    std::string json = R"({"devices": [)";
    for (size_t i = 0; i < settings.size(); ++i) {
        json += std::string(i ? ",\n" : "") + "{" + kNode + R"(, "ip": ")" + Address(i) + "\"";
        json += settings[i].empty() ? "}" : ", " + settings[i] + "}";
    }
    return json + "]}";
}

// A request with its good answer and the length that answer is cut to when spoiled short.
struct Exchange {
    std::vector<uint8_t> request;
    std::vector<uint8_t> good;
    size_t shortLength;
};

Exchange DeviceSettings()
{
    std::vector<uint8_t> good = Kivnet(0x8021, 222); // reply flag + device settings request
    PutText(good, 8, "Rack Node");                    // name
    Put(good, 34, {0x01, 0x01});                      // unlocked, display always on
    PutText(good, 36, "Ready");                       // display line 2
    return {Kivnet(0x0021), good, 95};                // option byte B at 95 is cut off
}

Exchange PortSettings(uint8_t wirePort)
{
    std::vector<uint8_t> request = Kivnet(0x0031, 10);
    request[8] = wirePort;
    std::vector<uint8_t> good = Kivnet(0x8031, 164); // reply flag + port settings request
    size_t shortLength = 9;                          // a disabled port's mode is cut off
    if (wirePort == 0) {
        Put(good, 8, {0x00, 0x02, 0x00, 0x00, 0x02, 0x12}); // port 0, output, Art-Net 18
        Put(good, 160, {0xA1, 0xB2, 0xC3, 0xD4});            // port value
        shortLength = 163;
    } else if (wirePort == 1) {
        Put(good, 8, {0x01, 0x01, 0x00, 0x00, 0x03, 0x05}); // port 1, input, sACN 5
        Put(good, 18, {0x01, 0x02, 0x03, 0x04});             // port value
        shortLength = 21;
    } else {
        Put(good, 8, {0x02, 0x00}); // port 2, disabled
    }
    return {request, good, shortLength};
}

enum Answer { kGood, kShort, kMode };

std::vector<uint8_t> Expected(const Exchange& exchange, Answer answer)
{
    std::vector<uint8_t> bytes = exchange.good;
    if (answer == kShort)
        bytes.resize(exchange.shortLength);
    else if (answer == kMode)
        bytes[9] = 3; // a mode the program refuses
    return bytes;
}

// "twice N on" for device 4 gives "twice 4 on".
std::string ForDevice(std::string command, size_t device)
{
    const size_t at = command.find(" N");
    if (at != std::string::npos)
        command.replace(at + 1, 1, std::to_string(device));
    return command;
}

class SimFaults : public testing::Test {
protected:
    void Start(const std::string& rack, const std::vector<std::string>& flags = {})
    {
        network_ = std::make_unique<SimNetwork>();
        ASSERT_TRUE(network_->ok()) << "the private network did not come up";
        ASSERT_TRUE(network_->StartSimulator(rack, flags));
        ASSERT_TRUE(EnterProgramSide(*network_, side_, client_));
    }
    void TearDown() override
    {
        client_.reset();
        side_.reset();
        network_.reset();
    }

    // Every answer to one request, until none has come for a while.
    std::vector<std::vector<uint8_t>> Answers(size_t device, const std::vector<uint8_t>& request)
    {
        client_->SendTo(Address(device), kKivnetPort, request);
        std::vector<std::vector<uint8_t>> answers;
        for (const auto& answer : client_->Receive(100, 250, 3000))
            answers.push_back(answer.bytes);
        return answers;
    }

    std::unique_ptr<SimNetwork> network_;
    std::unique_ptr<ProgramSide> side_;
    std::unique_ptr<SimClient> client_;
};

TEST_F(SimFaults, AnswersTwiceOrSpoiledOnceAsSetInTheListOrOnTheControlSocket)
{
    struct Round {
        const char* command; // sent first on the control socket, N standing for the device
        std::vector<Answer> answers;
    };
    struct Case {
        const char* what;
        const char* listSetting;
        Exchange exchange;
        std::vector<Round> rounds;
    };
    const Case cases[] = {
        {"twice from the list, device settings", R"("answerTwice": true)", DeviceSettings(),
         {{nullptr, {kGood, kGood}}, {nullptr, {kGood, kGood}}}},
        {"twice from the list, port settings", R"("answerTwice": true)", PortSettings(0),
         {{nullptr, {kGood, kGood}}}},
        {"twice by command, then off again", "", DeviceSettings(),
         {{"twice N on", {kGood, kGood}}, {"twice N off", {kGood}}}},
        {"twice by command, port settings", "", PortSettings(1), {{"twice N on", {kGood, kGood}}}},
        {"short from the list, device settings", R"("spoilNext": "short")", DeviceSettings(),
         {{nullptr, {kShort}}, {nullptr, {kGood}}}},
        {"short from the list, output port", R"("spoilNext": "short")", PortSettings(0),
         {{nullptr, {kShort}}, {nullptr, {kGood}}}},
        {"short from the list, input port", R"("spoilNext": "short")", PortSettings(1),
         {{nullptr, {kShort}}, {nullptr, {kGood}}}},
        {"short from the list, disabled port", R"("spoilNext": "short")", PortSettings(2),
         {{nullptr, {kShort}}, {nullptr, {kGood}}}},
        {"short by command, device settings", "", DeviceSettings(),
         {{nullptr, {kGood}}, {"spoil N short", {kShort}}, {nullptr, {kGood}}}},
        {"short by command, output port", "", PortSettings(0),
         {{"spoil N short", {kShort}}, {nullptr, {kGood}}}},
        {"mode from the list, port settings", R"("spoilNext": "mode")", PortSettings(0),
         {{nullptr, {kMode}}, {nullptr, {kGood}}}},
        {"mode from the list cuts device settings short", R"("spoilNext": "mode")",
         DeviceSettings(), {{nullptr, {kShort}}, {nullptr, {kGood}}}},
        {"mode by command, input port", "", PortSettings(1),
         {{"spoil N mode", {kMode}}, {nullptr, {kGood}}}},
        {"mode by command cuts device settings short", "", DeviceSettings(),
         {{"spoil N mode", {kShort}}, {nullptr, {kGood}}}},
        {"a spoil taken back", R"("spoilNext": "short")", PortSettings(0),
         {{"spoil N none", {kGood}}}},
        {"twice and spoiled: both copies spoiled", R"("answerTwice": true, "spoilNext": "mode")",
         PortSettings(0), {{nullptr, {kMode, kMode}}, {nullptr, {kGood, kGood}}}},
        {"every device at once", "", DeviceSettings(),
         {{"twice all on", {kGood, kGood}}, {"twice all off", {kGood}}}},
    };
    std::vector<std::string> settings;
    for (const Case& test : cases)
        settings.push_back(test.listSetting);
    Start(Rack(settings));

    for (size_t device = 0; device < std::size(cases); ++device) {
        const Case& test = cases[device];
        for (size_t round = 0; round < test.rounds.size(); ++round) {
            SCOPED_TRACE(std::string(test.what) + ", request " + std::to_string(round + 1));
            const Round& step = test.rounds[round];
            if (step.command) {
                ASSERT_EQ(network_->Control(ForDevice(step.command, device)), "ok");
            }
            std::vector<std::vector<uint8_t>> expected;
            for (Answer answer : step.answers)
                expected.push_back(Expected(test.exchange, answer));
            EXPECT_THAT(Answers(device, test.exchange.request), ElementsAreArray(expected));
        }
    }
}

// The program repeats an unanswered request every 50 ms. A device slower than that answers
// every copy, each one late.
TEST_F(SimFaults, ALateDeviceAnswersEveryRepeatOfTheRequest)
{
    struct Case {
        const char* what;
        const char* listSetting;
        const char* command;
        size_t copies;
    };
    const Case cases[] = {
        {"delay from the list", R"("delayMs": 150)", nullptr, 1},
        {"delay by command", "", "delay N 150", 1},
        {"late and twice", R"("delayMs": 120, "answerTwice": true)", nullptr, 2},
    };
    std::vector<std::string> settings;
    for (const Case& test : cases)
        settings.push_back(test.listSetting);
    Start(Rack(settings));

    const Exchange exchange = DeviceSettings();
    for (size_t device = 0; device < std::size(cases); ++device) {
        const Case& test = cases[device];
        SCOPED_TRACE(test.what);
        if (test.command) {
            ASSERT_EQ(network_->Control(ForDevice(test.command, device)), "ok");
        }
        size_t sent = 0;
        std::vector<std::vector<uint8_t>> answers;
        while (answers.empty() && sent < 6) {
            client_->SendTo(Address(device), kKivnetPort, exchange.request);
            ++sent;
            for (const auto& answer : client_->Receive(1, 50, 50))
                answers.push_back(answer.bytes);
        }
        for (const auto& answer : client_->Receive(100, 500, 3000))
            answers.push_back(answer.bytes);
        EXPECT_THAT(sent, Ge(2u)) << "nothing may come back within 50 ms";
        EXPECT_THAT(answers, SizeIs(sent * test.copies));
        EXPECT_THAT(answers, Each(ElementsAreArray(exchange.good)));
    }
}

TEST_F(SimFaults, BadSettingsAreRefusedOnTheControlSocketAndInTheList)
{
    Start(Rack({"", ""}));
    const struct {
        const char* command;
        bool accepted;
    } commands[] = {
        {"twice 1 on", true},       {"twice all off", true},   {"twice 2 on", false},
        {"twice 0 yes", false},     {"twice 0", false},        {"spoil 1 short", true},
        {"spoil all mode", true},   {"spoil 0 none", true},    {"spoil 0 long", false},
        {"spoil -1 short", false},  {"delay 1 150", true},     {"delay 1 -1", false},
    };
    for (const auto& test : commands) {
        SCOPED_TRACE(test.command);
        const std::string answer = network_->Control(test.command);
        EXPECT_THAT(answer, StartsWith(test.accepted ? "ok" : "error"));
    }

    network_->StopSimulator();
    for (const char* setting : {R"("spoilNext": "long")", R"("spoilNext": 1)",
                                R"("answerTwice": "yes")"}) {
        SCOPED_TRACE(setting);
        EXPECT_FALSE(network_->StartSimulator(Rack({setting})));
    }
}

} // namespace
