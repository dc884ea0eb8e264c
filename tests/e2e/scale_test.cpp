// Show-sized networks: hundreds of simulated devices answering discovery every second.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include <wx/app.h>

#include "common/appstate.h"
#include "common/mainframe.h"
#include "common/rackpanel.h"
#include "devices/basenode.h"
#include "e2e/programinprocess.h"
#include "support/simnetwork.h"
#include "support/testudp.h"

namespace {

// The program in this process, on the program's side of a network whose simulator plays
// `count` devices of every model in turn.
class ScaleEndToEnd : public ProgramInProcess {
protected:
    void Start(int count)
    {
        StartProgram(R"({"devices": []})", {"--generate", std::to_string(count), "--first",
                                            "10.202.2.1", "--mask", "255.255.0.0"});
    }

    size_t CountReadBack() const
    {
        const std::vector<exBaseNode*> devices = Devices();
        return size_t(std::count_if(devices.begin(), devices.end(), [](exBaseNode* device) {
            return device->readBackStage == exBaseNode::kIdle;
        }));
    }

    std::string CountByModel() const
    {
        std::map<int, int> byModel;
        for (exBaseNode* device : Devices())
            ++byModel[device->network.modelCode];
        std::string text = std::to_string(Devices().size()) + " devices:";
        for (auto [model, count] : byModel)
            text += " " + std::to_string(model) + ":" + std::to_string(count);
        text += "; not read back (unit:stage:port:tries left):";
        int listed = 0;
        for (exBaseNode* device : Devices())
            if (device->readBackStage != exBaseNode::kIdle && ++listed <= 20)
                text += " " + std::to_string(device->network.unitNumber) + ":" +
                        std::to_string(device->readBackStage) + ":" +
                        std::to_string(device->readBackPort) + ":" +
                        std::to_string(device->readBackRetries);
        return text;
    }

    // Every discovery round refills each device's 5-second countdown. Sampled after each round
    // for five rounds, no countdown may have fallen by more than about one round: a device
    // whose reply had been lost would show a second or more missing.
    void ExpectNoReplyLostOverFiveRounds()
    {
        int lowest = 5000;
        std::string late;
        for (int round = 0; round < 5; ++round) {
            PumpEventsFor(1000);
            for (exBaseNode* device : Devices()) {
                lowest = std::min(lowest, device->aliveCountdown);
                if (device->aliveCountdown < kLowestCountdown)
                    late += " " + std::to_string(device->network.unitNumber) + ":" +
                            std::to_string(device->aliveCountdown);
            }
        }
        EXPECT_GE(lowest, kLowestCountdown) << "late (unit:countdown):" << late;
    }

    static constexpr int kLowestCountdown = 5000 - 1200;

};

} // namespace

TEST_F(ScaleEndToEnd, ThreeHundredDevicesAreFoundAndNoDiscoveryReplyIsLost)
{
    ASSERT_NO_FATAL_FAILURE(Start(300));
    ASSERT_TRUE(PumpEventsUntil([&] { return Devices().size() >= 300; }, 10000))
        << CountByModel();
    ExpectNoReplyLostOverFiveRounds();
    EXPECT_EQ(Devices().size(), 300u) << "each device once";
}

TEST_F(ScaleEndToEnd, AThousandDevicesAreFoundReadBackAndNoDiscoveryReplyIsLost)
{
    ASSERT_NO_FATAL_FAILURE(Start(1000));
    ASSERT_TRUE(PumpEventsUntil([&] { return CountReadBack() >= 1000; }, 30000))
        << CountReadBack() << " read back of " << CountByModel();
    ExpectNoReplyLostOverFiveRounds();
    EXPECT_EQ(Devices().size(), 1000u) << "each device once";
    EXPECT_EQ(CountReadBack(), 1000u);
}
