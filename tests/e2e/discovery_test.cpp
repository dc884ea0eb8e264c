// The program, in this process, against a simulated rack of every model on the other side of a
// private network: discovery, read-back, IDs, modules, reachability and presence.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/statusbr.h>

#include "common/appstate.h"
#include "common/mainframe.h"
#include "common/rackpanel.h"
#include "devices/basenode.h"
#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/nodezeta.h"
#include "devices/switchkappa.h"
#include "devices/switchport.h"
#include "discovery/localadapters.h"
#include "e2e/programinprocess.h"
#include "support/simnetwork.h"
#include "support/testudp.h"

namespace {

const char kEveryModel[] = R"({"devices": [
  {"model": "0x0103", "unit": 1, "ip": "10.202.1.1", "mask": "255.255.0.0", "name": "Beta", "id": 11,
   "ports": [{"mode": "output", "universe": "0x0201"}, {"mode": "input", "universe": "0x0305"},
             {"mode": "disabled"}]},
  {"model": "0x0106", "unit": 2, "ip": "10.202.1.2", "mask": "255.255.0.0", "name": "Gamma", "id": 12},
  {"model": "0x0107", "unit": 3, "ip": "10.202.1.3", "mask": "255.255.0.0", "name": "Sprite", "id": 13},
  {"model": "0x0108", "unit": 4, "ip": "10.202.1.4", "mask": "255.255.0.0", "name": "Delta", "id": 14,
   "locked": true, "displayTimeout": 5, "line2": "Show A"},
  {"model": "0x0109", "unit": 5, "ip": "192.168.77.10", "mask": "255.255.255.0", "name": "Far", "id": 15},
  {"model": "0x010A", "unit": 6, "ip": "10.202.1.6", "mask": "255.255.0.0", "name": "Zeta", "id": 16},
  {"model": "0x0111", "unit": 7, "ip": "10.202.1.7", "mask": "255.255.0.0", "name": "Alpha", "id": 17,
   "ports": [{"mode": "output", "universe": "0x0107"}]},
  {"model": "0x0203", "unit": 8, "ip": "10.202.1.8", "mask": "255.255.0.0", "name": "Eta", "id": 18},
  {"model": "0x0318", "unit": 9, "ip": "10.202.1.9", "mask": "255.255.0.0", "name": "Theta", "id": 123,
   "switchPorts": [{"mode": 2, "value": 4}, {"mode": 1, "value": 12}]},
  {"model": "0x0319", "unit": 10, "ip": "10.202.1.10", "mask": "255.255.0.0", "name": "Kappa", "id": 20,
   "switchPortCount": 18, "modules": [{"bay": 1, "ports": 8}, {"bay": 2, "ports": 4}]},
  {"model": "0x2024", "unit": 11, "ip": "10.202.1.11", "mask": "255.255.0.0", "name": "Kappa B", "id": 21},
  {"model": "0x300E", "unit": 12, "ip": "10.202.1.12", "mask": "255.255.0.0", "name": "Iota", "id": 22}
]})";

class DiscoveryEndToEnd : public ProgramInProcess {
protected:
    void SetUp() override { StartProgram(kEveryModel); }

    exBaseNode* ByUnit(uint16_t modelCode, uint16_t unit)
    {
        for (exBaseNode* device : Devices())
            if (device->network.modelCode == modelCode && device->network.unitNumber == unit)
                return device;
        return nullptr;
    }

    // Every reachable device done reading back (the unreachable one cannot be read).
    bool AllReadBack()
    {
        std::vector<exBaseNode*> devices = Devices();
        if (devices.size() < 14) // twelve devices and the two modules of the large switch
            return false;
        for (exBaseNode* device : devices)
            if (device->network.unitNumber != 5 && device->readBackStage != exBaseNode::kIdle &&
                !device->host)
                return false;
        return true;
    }

    // One line per device: what a failed wait was waiting for.
    std::string Describe()
    {
        std::string text;
        for (exBaseNode* device : Devices())
            text += wxString::Format("%04X/%d %s stage %d retries %d state %d host %d\n",
                                     device->network.modelCode, device->network.unitNumber,
                                     device->title, device->readBackStage, device->readBackRetries,
                                     device->connectionState, device->host != nullptr)
                        .ToStdString();
        return text;
    }
};

} // namespace

TEST_F(DiscoveryEndToEnd, EveryModelIsFoundReadBackAndDrawnAsItsModel)
{
    ASSERT_TRUE(PumpEventsUntil([&] { return AllReadBack(); }, 15000)) << Describe();

    const std::map<uint16_t, wxString> titles = {
        {0x0103, "Pylon NodeBeta"},    {0x0106, "Pylon NodeGamma"},
        {0x0108, "Pylon NodeDelta"},   {0x0109, "Pylon NodeEpsilon"},
        {0x010A, "Pylon NodeZeta"},    {0x0203, "Pylon StoreEta"},
        {0x0318, "Pylon SwitchTheta"}, {0x0319, "Pylon SwitchKappa 18"},
        {0x300E, "Pylon SwitchIota"}};
    for (const auto& [model, title] : titles) {
        exBaseNode* device = nullptr;
        for (exBaseNode* candidate : Devices())
            if (candidate->network.modelCode == model && !candidate->host)
                device = candidate;
        ASSERT_NE(device, nullptr) << std::hex << model;
        EXPECT_EQ(device->title, title);
    }

    exBaseNode* beta = ByUnit(0x0103, 1);
    EXPECT_EQ(beta->network.ipText, "10.202.1.1");
    EXPECT_EQ(beta->network.maskText, "255.255.0.0");
    EXPECT_EQ(beta->deviceName, "Beta");
    EXPECT_EQ(beta->deviceId, 11);
    EXPECT_EQ(beta->dmxPorts[0]->mode, exDMXPort::kOutput);
    EXPECT_EQ(beta->dmxPorts[0]->GetUniverseText(), "A 0-1");
    EXPECT_EQ(beta->dmxPorts[1]->mode, exDMXPort::kInput);
    EXPECT_EQ(beta->dmxPorts[1]->GetUniverseText(), "S 5");
    EXPECT_EQ(beta->dmxPorts[2]->mode, exDMXPort::kDisabled);

    exBaseNode* delta = ByUnit(0x0108, 4);
    EXPECT_TRUE(delta->locked);
    EXPECT_EQ(delta->displayTimeout, 5);
    EXPECT_EQ(delta->displayLine2, "Show A");

    exBaseNode* alpha = ByUnit(0x0111, 7);
    EXPECT_EQ(alpha->dmxPorts[0]->GetUniverseText(), "N 8") << "read as wire port 1";

    exBaseNode* theta = ByUnit(0x0318, 9);
    EXPECT_EQ(theta->deviceId, 123);
    EXPECT_EQ(theta->switchPorts[0]->mode, 2);
    EXPECT_EQ(theta->switchPorts[0]->loopPartner, 4);
    EXPECT_EQ(theta->switchPorts[1]->vlan, 12);

    auto* kappa = static_cast<exSwitchKappa*>(ByUnit(0x0319, 10));
    EXPECT_EQ(kappa->switchPortCount, 18);
    ASSERT_NE(kappa->modules[1], nullptr);
    ASSERT_NE(kappa->modules[2], nullptr);
    EXPECT_EQ(kappa->modules[1]->host, kappa);
    EXPECT_EQ(kappa->modules[1]->dmxPorts[0]->portNumber, 16);
    EXPECT_EQ(kappa->modules[2]->dmxPorts[0]->portNumber, 32);
    // The modules stand right under their switch, in bay order.
    std::vector<exBaseNode*> order = Devices();
    const auto at = std::find(order.begin(), order.end(), kappa);
    ASSERT_LT(at + 2, order.end());
    EXPECT_EQ(at[1], kappa->modules[1]);
    EXPECT_EQ(at[2], kappa->modules[2]);

    // The device on another subnet is found but cannot be worked with.
    exBaseNode* far = ByUnit(0x0109, 5);
    ASSERT_NE(far, nullptr);
    EXPECT_FALSE(IsReachable(far->network.currentIp));
    EXPECT_TRUE(IsReachable(beta->network.currentIp));
    wxBitmap scratch(800, 200);
    wxMemoryDC dc(scratch);
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
    far->Draw(gc.get());
    beta->Draw(gc.get());
    EXPECT_FALSE(far->enabled);
    EXPECT_TRUE(beta->enabled);

    // Counted when each device was added; the two hidden models may have come in uncounted.
    long count = 0;
    const wxString status = frame->GetStatusBar()->GetStatusText(0);
    ASSERT_TRUE(status.BeforeFirst(' ').ToLong(&count)) << status;
    EXPECT_TRUE(status.EndsWith(" Items Detected")) << status;
    EXPECT_GE(count, 10);
    EXPECT_LE(count, 12);
}

TEST_F(DiscoveryEndToEnd, ANodeIsReadBackDeviceFirstThenEachPortThenItsId)
{
    ASSERT_TRUE(PumpEventsUntil([&] { return AllReadBack(); }, 15000)) << Describe();
    // What NodeDelta (10 ports) received from the program, in order, request by request.
    std::vector<std::string> asked;
    for (const SimNetwork::Record& record : network.Received()) {
        if (record.destination != "10.202.1.4" || record.bytes.size() < 8)
            continue;
        if (record.port == 6517 && record.bytes[7] == 0x21)
            asked.push_back("settings");
        else if (record.port == 6517 && record.bytes[7] == 0x31 && record.bytes.size() == 10)
            asked.push_back("port " + std::to_string(record.bytes[8]));
        else if (record.port == 6454 && record.bytes[8] == 0x00 && record.bytes[9] == 0x20)
            asked.push_back("poll");
    }
    // Each request once when every answer comes at once; repeats would only follow losses.
    asked.erase(std::unique(asked.begin(), asked.end()), asked.end());
    EXPECT_THAT(asked,
                testing::ElementsAre("settings", "port 0", "port 1", "port 2", "port 3", "port 4",
                                     "port 5", "port 6", "port 7", "port 8", "port 9", "poll"));
}

TEST_F(DiscoveryEndToEnd, AModulePutIntoTheLargeSwitchAppearsAndGoesLostWhenTakenOut)
{
    ASSERT_TRUE(PumpEventsUntil([&] { return AllReadBack(); }, 15000)) << Describe();
    auto* kappa = static_cast<exSwitchKappa*>(ByUnit(0x0319, 10));
    ASSERT_EQ(kappa->modules[3], nullptr);
    EXPECT_EQ(network.Control("module 9 3 4"), "ok");
    ASSERT_TRUE(PumpEventsUntil([&] { return kappa->modules[3] != nullptr; }, 5000));
    exBaseNode* module = kappa->modules[3];
    EXPECT_EQ(module->connectionState, exBaseNode::kHosted);
    EXPECT_EQ(module->dmxPorts[0]->portNumber, 48);
    // Below the switch and its modules of bays 1 and 2.
    std::vector<exBaseNode*> order = Devices();
    const auto at = std::find(order.begin(), order.end(), kappa);
    ASSERT_LT(at + 3, order.end());
    EXPECT_EQ(at[3], module);

    EXPECT_EQ(network.Control("module 9 3 0"), "ok");
    EXPECT_TRUE(
        PumpEventsUntil([&] { return module->connectionState == exBaseNode::kLost; }, 5000));
    const std::vector<exBaseNode*> after = Devices();
    EXPECT_NE(std::find(after.begin(), after.end(), module), after.end())
        << "a module taken out stays in the rack, drawn as lost";
}

TEST_F(DiscoveryEndToEnd, ADeviceThatStopsAnsweringIsLostAndComesBack)
{
    ASSERT_TRUE(PumpEventsUntil([&] { return ByUnit(0x0103, 1) != nullptr; }, 5000));
    exBaseNode* beta = ByUnit(0x0103, 1);
    ASSERT_TRUE(
        PumpEventsUntil([&] { return beta->connectionState == exBaseNode::kOnline; }, 3000));
    EXPECT_EQ(network.Control("stop 0"), "ok");
    EXPECT_TRUE(PumpEventsUntil([&] { return beta->connectionState == exBaseNode::kLost; }, 8000));
    EXPECT_EQ(network.Control("resume 0"), "ok");
    EXPECT_TRUE(
        PumpEventsUntil([&] { return beta->connectionState == exBaseNode::kOnline; }, 3000));
    EXPECT_EQ(Devices().size(), 14u) << "a device that comes back is the same device";
}
