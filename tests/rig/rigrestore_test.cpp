// A rig saved from a rack read back in full, loaded after the devices were changed at their own
// panels: for every model, "Update" puts every value the file holds back on the device.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "devices/basenode.h"
#include "fuzzrack.h"
#include "rig/rig.h"
#include "rig/rigjson.h"
#include "simulatedrig.h"

namespace {

constexpr int kSettleSteps = 20000;
constexpr uint32_t kWideMask = 0xFFFF0000;
constexpr uint32_t kReaddressedBy = 100;

// Universe words as the devices send them: the protocol in the high byte.
uint16_t ArtNet(int universe)
{
    return uint16_t(0x0200 + universe);
}
uint16_t Sacn(int universe)
{
    return uint16_t(0x0300 + universe);
}
uint16_t Shownet(int universe)
{
    return uint16_t(0x00FF + universe);
}

// Which way the address goes between saving and loading.
enum class Network { kStaticToDhcp, kDhcpToStatic, kReaddressed };

// A model and what its front panel and dialogs can change.
struct Model {
    const char* title;
    uint16_t code;
    bool lock;      // the device settings offer the lock
    bool timeout;   // and the display time-out
    int firstInput; // the DMX ports from this one on (from 1) cannot output; 0: all can
    bool speeds;    // a switch port's speed can be chosen
    int firstSfp;   // the switch ports from this one on have an SFP cage; 0: none
    bool trunks;    // a switch port can be a trunk, and its VLAN is set in the dialog
    Network network;
};

// clang-format off
const Model kModels[] = {
    {"NodeBeta",           0x0103, true,  true,  0, false, 0, false, Network::kStaticToDhcp},
    {"NodeGamma",          0x0106, true,  true,  0, false, 0, false, Network::kDhcpToStatic},
    {"Sprite",             0x0107, false, false, 0, false, 0, false, Network::kReaddressed},
    {"NodeDelta",          0x0108, true,  false, 9, false, 0, false, Network::kStaticToDhcp},
    {"NodeEpsilon",        0x0109, true,  true,  0, false, 0, false, Network::kDhcpToStatic},
    {"NodeZeta",           0x010A, true,  true,  0, false, 0, false, Network::kReaddressed},
    {"NodeAlpha",          0x0111, false, false, 0, false, 0, false, Network::kStaticToDhcp},
    {"StoreEta",           0x0203, true,  true,  0, false, 0, false, Network::kDhcpToStatic},
    {"SwitchTheta",        0x0318, true,  true,  0, true,  7, true,  Network::kReaddressed},
    {"SwitchKappaModules", 0x0319, true,  true,  0, true,  0, true,  Network::kStaticToDhcp},
    {"SwitchKappa18",      0x2024, true,  true,  0, true,  0, true,  Network::kDhcpToStatic},
    {"SwitchIota",         0x300E, false, false, 0, false, 0, false, Network::kReaddressed},
};
// clang-format on

void PrintTo(const Model& model, std::ostream* out)
{
    *out << model.title;
}

bool InputOnly(const Model& model, size_t index)
{
    return model.firstInput > 0 && int(index) + 1 >= model.firstInput;
}

// As saved: outputs and inputs on all three protocols, the third port disabled (it reports no
// universe; the one it keeps is not the file's business).
void SaveDmxPorts(std::vector<sim::DmxPort>& ports, const Model& model)
{
    for (size_t i = 0; i < ports.size(); ++i) {
        const int n = int(i);
        ports[i].mode = i == 2                              ? sim::kDisabled
                        : InputOnly(model, i) || i % 2 == 1 ? sim::kInput
                                                            : sim::kOutput;
        ports[i].universe = i % 3 == 0   ? ArtNet(0x10 + n)
                            : i % 3 == 1 ? Sacn(100 + n)
                                         : Shownet(10 + n);
    }
}

// At the panel: the disabled port put to use elsewhere, the first port given another universe
// and disabled, every other port on another protocol and universe and turned around.
void ChangeDmxPorts(std::vector<sim::DmxPort>& ports, const Model& model)
{
    for (size_t i = 0; i < ports.size(); ++i) {
        const int n = int(i);
        sim::DmxPort& port = ports[i];
        if (i == 0) {
            port.universe = Sacn(999);
            port.mode = sim::kDisabled;
        } else if (i == 2) {
            port.universe = ArtNet(0x40);
            port.mode = InputOnly(model, i) ? sim::kInput : sim::kOutput;
        } else {
            port.universe = i % 3 == 0   ? Sacn(300 + n)
                            : i % 3 == 1 ? Shownet(40 + n)
                                         : ArtNet(0x60 + n);
            if (!InputOnly(model, i))
                port.mode = port.mode == sim::kInput ? sim::kOutput : sim::kInput;
        }
    }
}

bool Sfp(const Model& model, size_t index)
{
    return model.firstSfp > 0 && int(index) + 1 >= model.firstSfp;
}

// As saved: port 1 normal, 2 and 3 looped, 4 a trunk (or disabled), 5 disabled, the rest normal,
// with VLANs and speeds where the model has them.
void SaveSwitchPorts(std::vector<sim::SwitchPort>& ports, const Model& model)
{
    for (size_t i = 0; i < ports.size(); ++i) {
        sim::SwitchPort& port = ports[i];
        const uint16_t vlan = model.trunks ? uint16_t(20 + i) : 1;
        switch (i) {
        case 0:
            port = {1, 0, vlan};
            break;
        case 1:
            port = {2, 0, 3};
            break;
        case 2:
            port = {2, 0, 2};
            break;
        case 3:
            port = model.trunks ? sim::SwitchPort{2, 0, 0} : sim::SwitchPort{0, 0, 1};
            break;
        case 4:
            port = {0, 0, vlan};
            break;
        default:
            port = {1, 0, vlan};
            break;
        }
        if (model.speeds)
            port.speed = Sfp(model, i) ? 3 : uint8_t(i % 3);
    }
}

// At the panel: the loop moved to ports 3 and 5, port 2 and the trunk made normal, the last
// port disabled, and every VLAN and speed the model lets one choose changed.
void ChangeSwitchPorts(std::vector<sim::SwitchPort>& ports, const Model& model)
{
    for (size_t i = 0; i < ports.size(); ++i) {
        sim::SwitchPort& port = ports[i];
        const uint16_t vlan = model.trunks ? uint16_t(60 + i) : 1;
        if (i == 2)
            port = {2, port.speed, 5};
        else if (i == 4)
            port = {2, port.speed, 3};
        else if (i == 0 && !model.trunks)
            port = {0, port.speed, 1};
        else
            port = {uint8_t(i + 1 == ports.size() ? 0 : 1), port.speed, vlan};
        if (model.speeds)
            port.speed = Sfp(model, i) ? 0 : uint8_t((port.speed + 1) % 3);
    }
}

void Save(sim::Device& device, const Model& model)
{
    device.name = "Saved name";
    device.locked = true;
    device.displayTimeout = 5;
    device.dhcp = model.network == Network::kDhcpToStatic;
    SaveDmxPorts(device.ports, model);
    SaveSwitchPorts(device.switchPorts, model);
    for (std::vector<sim::DmxPort>& bay : device.bays)
        SaveDmxPorts(bay, model);
}

void ChangeAtThePanel(sim::Device& device, const Model& model)
{
    device.name = "Changed name";
    if (model.lock)
        device.locked = false;
    if (model.timeout)
        device.displayTimeout = 2;
    device.dhcp = model.network == Network::kStaticToDhcp;
    // A DHCP server may give another address too.
    device.ip += kReaddressedBy;
    if (model.network != Network::kStaticToDhcp)
        device.mask = kWideMask;
    ChangeDmxPorts(device.ports, model);
    ChangeSwitchPorts(device.switchPorts, model);
    for (std::vector<sim::DmxPort>& bay : device.bays)
        ChangeDmxPorts(bay, model);
}

void ExpectDmxPorts(const std::vector<sim::DmxPort>& now, const std::vector<sim::DmxPort>& saved,
                    const std::string& where)
{
    ASSERT_EQ(now.size(), saved.size());
    for (size_t i = 0; i < now.size(); ++i) {
        SCOPED_TRACE(where + " DMX port " + std::to_string(i + 1));
        EXPECT_EQ(now[i].mode, saved[i].mode);
        // A disabled port reports no universe: the file holds none for it.
        if (saved[i].mode != sim::kDisabled) {
            EXPECT_EQ(now[i].universe, saved[i].universe);
        }
    }
}

// Every value of the saved device that it reports, and so the file holds.
void ExpectHolds(const sim::Device& now, const sim::Device& saved)
{
    EXPECT_EQ(now.name, saved.name);
    EXPECT_EQ(now.locked, saved.locked);
    EXPECT_EQ(now.displayTimeout, saved.displayTimeout);
    EXPECT_EQ(now.dhcp, saved.dhcp);
    // Under DHCP the address is the server's to give.
    if (!saved.dhcp) {
        EXPECT_EQ(now.ip, saved.ip);
        EXPECT_EQ(now.mask, saved.mask);
    }
    ExpectDmxPorts(now.ports, saved.ports, "");
    for (int bay = 1; bay <= sim::kBayCount; ++bay)
        ExpectDmxPorts(now.bays[size_t(bay)], saved.bays[size_t(bay)],
                       "bay " + std::to_string(bay));
    ASSERT_EQ(now.switchPorts.size(), saved.switchPorts.size());
    for (size_t i = 0; i < now.switchPorts.size(); ++i) {
        SCOPED_TRACE("switch port " + std::to_string(i + 1));
        EXPECT_EQ(now.switchPorts[i].mode, saved.switchPorts[i].mode);
        EXPECT_EQ(now.switchPorts[i].speed, saved.switchPorts[i].speed);
        EXPECT_EQ(now.switchPorts[i].value, saved.switchPorts[i].value) << "VLAN or partner";
    }
}

std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

class RigRestoreTest : public ::testing::TestWithParam<Model> {
protected:
    // The rig holds the one device of the model: its exchanges are the only ones.
    sim::Device& KeepOnly(SimulatedRig& rig, uint16_t modelCode)
    {
        std::vector<sim::Device> kept;
        for (const sim::Device& device : rig.devices)
            if (device.modelCode == modelCode)
                kept.push_back(device);
        rig.devices = kept;
        return rig.devices.front();
    }

    exRigLoadSummary Load(const exRigDocument& document)
    {
        exDeviceRegistry registry = rack.Registry();
        return exRig::Restore(document, [&registry](uint16_t model, uint16_t unit) {
            return registry.FindByKey(model, unit);
        });
    }

    // What "Update" does: every device with pending edits sends them.
    void PressUpdate()
    {
        for (exBaseNode* device : rack.Devices())
            if (device->modified)
                device->ProgramAll();
    }

    size_t Sent() const { return rack.kivnet.sent.size() + rack.update.sent.size(); }

    FuzzRack rack;
};

} // namespace

TEST_P(RigRestoreTest, EveryValueTheFileHoldsComesBackAfterChangesAtThePanel)
{
    const Model& model = GetParam();
    SimulatedRig rig(rack);
    sim::Device& device = KeepOnly(rig, model.code);
    Save(device, model);
    rig.DiscoverAll();
    rig.Settle(kSettleSteps);
    int leftOut = -1;
    const exRigDocument taken = exRig::Take(rack.Devices(), "2026-12-09T12:00:00Z", leftOut);
    ASSERT_EQ(leftOut, 0);
    ASSERT_EQ(taken.devices.size(), 1u);
    exRigDocument document;
    wxString problem;
    ASSERT_TRUE(exRigJson::Read(exRigJson::Write(taken), document, problem)) << problem;
    const sim::Device saved = device;

    ChangeAtThePanel(device, model);
    rig.Reconnect(kSettleSteps);
    const size_t sentBefore = Sent();
    const exRigLoadSummary summary = Load(document);
    EXPECT_EQ(summary.matched, 1);
    EXPECT_GT(summary.differing, 0);
    EXPECT_EQ(Lines(summary.waiting), "");
    EXPECT_EQ(Lines(summary.notApplied), "") << "the panel changed only what a dialog sets";
    EXPECT_EQ(Sent(), sentBefore) << "nothing goes out before Update";

    PressUpdate();
    rig.Settle(kSettleSteps);
    ExpectHolds(device, saved);

    // Read from the device once more, the file and the device agree in every value.
    rig.Reconnect(kSettleSteps);
    const exRigLoadSummary again = Load(document);
    EXPECT_EQ(again.differing, 0);
    EXPECT_EQ(Lines(again.notApplied), "");
}

INSTANTIATE_TEST_SUITE_P(EveryModel, RigRestoreTest, ::testing::ValuesIn(kModels),
                         [](const ::testing::TestParamInfo<Model>& info) {
                             return std::string(info.param.title);
                         });
