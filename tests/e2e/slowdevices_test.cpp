// Devices as they are on a real network: late (beyond the program's 50 ms request repeat, so
// each request is answered more than once), answering every request twice, or sending a reply
// the program refuses. Each is still read back completely, every port with its own values.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "devices/basenode.h"
#include "devices/dmxport.h"
#include "devices/nodezeta.h"
#include "devices/switchkappa.h"
#include "e2e/programinprocess.h"
#include "support/testudp.h"

namespace {

// Universe words 0x0301.. on the node's ten ports, 0x0321.. and 0x0331.. on the modules' ports.
std::string Ports(int count, int firstWord)
{
    std::string ports;
    for (int i = 0; i < count; ++i) {
        char word[8];
        std::snprintf(word, sizeof(word), "0x%04X", firstWord + i);
        ports += std::string(i ? ", " : "") + R"({"mode": "output", "universe": ")" + word + "\"}";
    }
    return "[" + ports + "]";
}

std::string Rack()
{
    return R"({"devices": [
  {"model": "0x0108", "unit": 1, "ip": "10.202.1.1", "answerTwice": true, "delayMs": 120,
   "ports": )" + Ports(10, 0x0301) + R"(},
  {"model": "0x0319", "unit": 2, "ip": "10.202.1.2", "answerTwice": true, "delayMs": 120,
   "modules": [{"bay": 1, "ports": )" + Ports(8, 0x0321) + R"(},
               {"bay": 2, "ports": )" + Ports(4, 0x0331) + R"(}]},
  {"model": "0x0103", "unit": 3, "ip": "10.202.1.3", "spoilNext": "short",
   "ports": )" + Ports(3, 0x0341) + R"(},
  {"model": "0x0106", "unit": 4, "ip": "10.202.1.4", "spoilNext": "mode",
   "ports": )" + Ports(6, 0x0351) + R"(}
]})";
}

class SlowDevices : public ProgramInProcess {
protected:
    void SetUp() override { StartProgram(Rack()); }

    bool AllReadBack() const
    {
        const std::vector<exBaseNode*> devices = Devices();
        if (devices.size() < 6) // four devices and the two modules
            return false;
        for (exBaseNode* device : devices)
            if (device->readBackStage == exBaseNode::kDeviceStage ||
                device->readBackStage == exBaseNode::kPortStage)
                return false;
        return true;
    }

    exBaseNode* ByUnit(uint16_t unit) const
    {
        for (exBaseNode* device : Devices())
            if (!device->host && device->network.unitNumber == unit)
                return device;
        return nullptr;
    }

    // The first `count` ports of `device` (all by default) hold the sACN universes their words
    // give.
    static void ExpectPorts(exBaseNode* device, int firstUniverse, const char* what,
                            size_t count = 0)
    {
        for (size_t i = 0; i < (count ? count : device->dmxPorts.size()); ++i) {
            EXPECT_EQ(device->dmxPorts[i]->mode, exDMXPort::kOutput) << what << " port " << i;
            EXPECT_EQ(device->dmxPorts[i]->universe, firstUniverse + int(i))
                << what << " port " << i;
        }
    }
};

} // namespace

TEST_F(SlowDevices, LateRepeatedAndRefusedAnswersStillReadEveryPortBack)
{
    ASSERT_TRUE(PumpEventsUntil([&] { return AllReadBack(); }, 20000))
        << "the read-back did not finish";
    exBaseNode* delta = ByUnit(1);
    ASSERT_NE(delta, nullptr);
    ExpectPorts(delta, 0x01, "late node answering twice");

    auto* kappa = dynamic_cast<exSwitchKappa*>(ByUnit(2));
    ASSERT_NE(kappa, nullptr);
    ASSERT_NE(kappa->modules[1], nullptr);
    ASSERT_NE(kappa->modules[2], nullptr);
    ExpectPorts(kappa->modules[1], 0x21, "module in bay 1");
    ExpectPorts(kappa->modules[2], 0x31, "module in bay 2", 4);

    ExpectPorts(ByUnit(3), 0x41, "node whose first answer was cut short");
    ExpectPorts(ByUnit(4), 0x51, "node whose first answer was spoiled");
}
