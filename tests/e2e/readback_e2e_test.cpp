// Read-backs against devices that miss requests, change at their own panel while away, or never
// answer: each is read back in the end, read again when it comes back, and "Update" sends only
// what was read from it (or set by the user).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/controlpanel.h"
#include "common/controls/canvasbutton.h"
#include "common/controls/switchandbutton.h"
#include "common/mainframe.h"
#include "devices/basenode.h"
#include "devices/dmxport.h"
#include "e2e/programinprocess.h"
#include "support/testudp.h"

namespace {

constexpr uint16_t kDeviceSettings = 0x0020;
constexpr uint16_t kDeviceSettingsRequest = 0x0021;
constexpr uint16_t kPortProgramming = 0x0030;

class ReadBackEndToEnd : public ProgramInProcess {
protected:
    exBaseNode* ByUnit(uint16_t unit) const
    {
        for (exBaseNode* device : Devices())
            if (!device->host && device->network.unitNumber == unit)
                return device;
        return nullptr;
    }
    bool ReadBack(uint16_t unit) const
    {
        const exBaseNode* device = ByUnit(unit);
        return device && device->IsReadBack() && device->readBackStage == exBaseNode::kIdle;
    }
    // The Kivnet messages the devices received from `destination` since record `from`.
    std::vector<SimNetwork::Record> KivnetTo(const std::string& destination, size_t from,
                                             uint16_t code) const
    {
        std::vector<SimNetwork::Record> found;
        const std::vector<SimNetwork::Record> records = network.Received();
        for (size_t i = from; i < records.size(); ++i) {
            const SimNetwork::Record& record = records[i];
            if (record.port == 6517 && record.destination == destination &&
                record.bytes.size() >= 8 && (record.bytes[6] << 8 | record.bytes[7]) == code)
                found.push_back(record);
        }
        return found;
    }
    void PressUpdate(exBaseNode* device)
    {
        device->modified = true;
        // "Update", as a press on its button gives it.
        frame->controlPanel->OnControlPressed(frame->controlPanel->updatePair->button);
        PumpEventsFor(300); // what was sent reaches the simulator's record
    }
};

} // namespace

TEST_F(ReadBackEndToEnd, DevicesThatMissMoreThanARoundOfRequestsAreReadBackInTheEnd)
{
    StartProgram(R"({"devices": [
  {"model": "0x010A", "unit": 1, "ip": "10.202.1.1", "ignoreFirst": {"deviceSettings": 8}},
  {"model": "0x0103", "unit": 2, "ip": "10.202.1.2", "ignoreFirst": {"portSettings": 7}}
]})");
    ASSERT_TRUE(PumpEventsUntil([&] { return ReadBack(1) && ReadBack(2); }, 15000))
        << "a stalled read-back was not asked again";
    EXPECT_FALSE(ByUnit(1)->hidden) << "the NodeZeta is drawn once read";
    EXPECT_GE(KivnetTo("10.202.1.1", 0, kDeviceSettingsRequest).size(), 9u);
}

TEST_F(ReadBackEndToEnd, ADeviceChangedAtItsPanelWhileLostIsReadAgainAndUpdateSendsWhatItHolds)
{
    StartProgram(R"({"devices": [
  {"model": "0x0103", "unit": 3, "ip": "10.202.1.3", "name": "Stage Left",
   "ports": [{"mode": "output", "universe": "0x0301"}, {"mode": "output", "universe": "0x0302"}]}
]})");
    ASSERT_TRUE(PumpEventsUntil([&] { return ReadBack(3); }, 10000));
    exBaseNode* beta = ByUnit(3);
    ASSERT_EQ(network.Control("stop 0"), "ok");
    ASSERT_TRUE(PumpEventsUntil([&] { return beta->connectionState == exBaseNode::kLost; }, 8000));

    // Renamed and re-patched at its own panel while away.
    ASSERT_EQ(network.Control("rename 0 Front of House"), "ok");
    ASSERT_EQ(network.Control("port 0 1 input 0x0307"), "ok");
    ASSERT_EQ(network.Control("resume 0"), "ok");
    ASSERT_TRUE(PumpEventsUntil(
        [&] {
            return beta->connectionState == exBaseNode::kOnline && ReadBack(3) &&
                   beta->dmxPorts[1]->universe == 7;
        },
        10000))
        << "the device was not read again when it came back";
    EXPECT_EQ(beta->deviceName, "Front of House");
    EXPECT_EQ(beta->dmxPorts[1]->mode, exDMXPort::kInput);

    const size_t mark = network.Received().size();
    PressUpdate(beta);
    const auto settings = KivnetTo("10.202.1.3", mark, kDeviceSettings);
    ASSERT_EQ(settings.size(), 1u);
    EXPECT_EQ(std::string(settings[0].bytes.begin() + 8, settings[0].bytes.begin() + 22),
              "Front of House");
    const auto ports = KivnetTo("10.202.1.3", mark, kPortProgramming);
    ASSERT_GE(ports.size(), 2u);
    EXPECT_EQ(ports[1].bytes[8], 1);                                 // wire port 1
    EXPECT_EQ(ports[1].bytes[9], 1);                                 // input
    EXPECT_EQ(ports[1].bytes[12] << 8 | ports[1].bytes[13], 0x0307); // the universe it holds
}

TEST_F(ReadBackEndToEnd, UpdateOnADeviceThatNeverAnswersSendsNothingItDidNotRead)
{
    StartProgram(R"({"devices": [
  {"model": "0x0103", "unit": 4, "ip": "10.202.1.4", "ignoreFirst": {"deviceSettings": 100000}}
]})");
    ASSERT_TRUE(PumpEventsUntil([&] { return ByUnit(4) != nullptr; }, 5000));
    PumpEventsFor(1000);
    exBaseNode* beta = ByUnit(4);
    EXPECT_FALSE(beta->IsReadBack());

    const size_t mark = network.Received().size();
    PressUpdate(beta);
    EXPECT_TRUE(KivnetTo("10.202.1.4", mark, kDeviceSettings).empty())
        << "lock, time-out and option bytes never read were sent";
    EXPECT_TRUE(KivnetTo("10.202.1.4", mark, kPortProgramming).empty())
        << "ports never read were sent as mode 0, universe 0";
}
