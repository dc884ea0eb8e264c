// A show-sized network: 300 simulated devices answering discovery every second.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <map>
#include <string>

#include <wx/app.h>

#include "common/appstate.h"
#include "common/deviceregistry.h"
#include "common/mainframe.h"
#include "common/rackpanel.h"
#include "devices/basenode.h"
#include "support/simnetwork.h"
#include "support/testudp.h"

TEST(ScaleEndToEnd, ThreeHundredDevicesAreFoundAndNoDiscoveryReplyIsLost)
{
    SimNetwork network;
    ASSERT_TRUE(network.ok());
    ASSERT_TRUE(network.StartSimulator(R"({"devices": []})",
                                       {"--generate", "300", "--first", "10.202.2.1", "--mask",
                                        "255.255.0.0"}));
    {
        ProgramSide side(network);
        ASSERT_TRUE(side.ok());
        auto* frame = new exMainFrame("Merrow Rigwise 1.16");
        frame->Show();
        auto devices = [&] {
            std::vector<exBaseNode*> list;
            frame->rackPanel->CollectDevices(list, true);
            return list;
        };
        ASSERT_TRUE(PumpEventsUntil([&] { return devices().size() >= 300; }, 10000))
            << devices().size() << " devices found" << [&] {
                   std::map<int, int> byModel;
                   for (exBaseNode* device : devices())
                       ++byModel[device->network.modelCode];
                   std::string text;
                   for (auto [model, count] : byModel)
                       text += " " + std::to_string(model) + ":" + std::to_string(count);
                   return text;
               }();

        // Every discovery round refills each device's 5-second countdown. Sampled after each
        // round for five rounds, no countdown may have fallen by more than about one round:
        // a device whose reply had been lost would show a second or more missing.
        int lowest = INT_MAX;
        for (int round = 0; round < 5; ++round) {
            PumpEventsFor(1000);
            for (exBaseNode* device : devices())
                lowest = std::min(lowest, device->aliveCountdown);
        }
        EXPECT_GE(lowest, 5000 - 1200) << [&] {
            std::string late;
            for (exBaseNode* device : devices())
                if (device->aliveCountdown < 5000 - 1200)
                    late += wxString::Format(" %04X/%d:%d", device->network.modelCode,
                                             device->network.unitNumber, device->aliveCountdown)
                                .ToStdString();
            return "late (model/unit:countdown):" + late;
        }();
        EXPECT_EQ(devices().size(), 300u) << "each device once";
        frame->Close(true);
        PumpEventsUntil([] { return exAppState::mainFrame == nullptr; }, 3000);
    }
}
