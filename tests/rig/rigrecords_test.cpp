// Rig values taken from read-back devices and given back to them as pending edits, with the
// program's rack and the simulator's devices answering its requests.
#include <gtest/gtest.h>

#include <algorithm>

#include "devices/basenode.h"
#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/networksettings.h"
#include "devices/nodebeta.h"
#include "devices/nodedelta.h"
#include "devices/nodezeta.h"
#include "devices/switchkappa.h"
#include "devices/switchport.h"
#include "fuzzrack.h"
#include "net/universecode.h"
#include "rig/rig.h"
#include "rig/rigdevice.h"
#include "rig/rigjson.h"
#include "simulatedrig.h"

namespace {

constexpr int kSettleSteps = 20000;

const exRigDevice* EntryOf(const exRigDocument& document, uint16_t modelCode)
{
    for (const exRigDevice& entry : document.devices)
        if (entry.modelCode == modelCode)
            return &entry;
    return nullptr;
}

class RigRecordsTest : public ::testing::Test {
protected:
    // The simulated devices with `change` made to them, discovered and read back by a rack
    // that starts empty: a fresh program meeting the rig.
    void Meet(SimulatedRig& rig, void (*change)(SimulatedRig&) = nullptr)
    {
        if (change)
            change(rig);
        rig.DiscoverAll();
        rig.Settle(kSettleSteps);
        ASSERT_FALSE(rig.ReadingBack());
    }

    exRigDocument Save()
    {
        int leftOut = -1;
        exRigDocument document = exRig::Take(rack.Devices(), "2026-12-09T12:00:00Z", leftOut);
        EXPECT_EQ(leftOut, 0);
        return document;
    }

    exRigLoadSummary Load(const exRigDocument& document)
    {
        exDeviceRegistry registry = rack.Registry();
        return exRig::Restore(document, [&registry](uint16_t model, uint16_t unit) {
            return registry.FindByKey(model, unit);
        });
    }

    exBaseNode* Device(uint16_t modelCode)
    {
        for (exBaseNode* device : rack.Devices())
            if (device->network.modelCode == modelCode && !device->host)
                return device;
        return nullptr;
    }

    // What "Update" does: every device with pending edits sends them.
    void PressUpdate()
    {
        for (exBaseNode* device : rack.Devices())
            if (device->modified)
                device->ProgramAll();
    }

    int ModifiedDevices()
    {
        const auto devices = rack.Devices();
        return int(std::count_if(devices.begin(), devices.end(),
                                 [](const exBaseNode* device) { return device->modified; }));
    }

    FuzzRack rack;
};

constexpr uint16_t kNodeBeta = exNodeBeta::kModelCode;
constexpr uint16_t kNodeDelta = exNodeDelta::kModelCode;

// Two ports given universes: the rig as it was saved.
void SetUniverses(SimulatedRig& rig)
{
    for (sim::Device& device : rig.devices) {
        if (device.modelCode == kNodeBeta)
            device.ports[1].universe = 0x0205; // Art-Net 0x05
        if (device.IsKappa() && device.modelCode == exSwitchKappa::kModelCode)
            device.bays[3][1].universe = 0x0103; // Shownet 3
    }
}

// The changes made on the devices after the rig was saved: a name, a universe, a VLAN, an
// address and a module's universe.
void ChangeOnTheDevices(SimulatedRig& rig)
{
    SetUniverses(rig);
    for (sim::Device& device : rig.devices) {
        if (device.modelCode == kNodeDelta)
            device.name = "Changed";
        if (device.modelCode == kNodeBeta) {
            device.ports[1].universe = 0x0212; // Art-Net 0x12
            device.ip += 40;
        }
        if (device.model->family == sim::Family::SwitchTheta)
            device.switchPorts[2].value = 77;
        if (device.IsKappa() && device.modelCode == exSwitchKappa::kModelCode)
            device.bays[3][1].universe = 0x0105; // Shownet 5
    }
}

} // namespace

TEST_F(RigRecordsTest, EveryModelComesBackWithoutPendingEdits)
{
    SimulatedRig saved(rack);
    Meet(saved);
    const exRigDocument document = Save();
    ASSERT_EQ(document.devices.size(), saved.devices.size());
    exRigDocument reread;
    wxString problem;
    ASSERT_TRUE(exRigJson::Read(exRigJson::Write(document), reread, problem)) << problem;
    EXPECT_EQ(reread.devices, document.devices);
    const exRigDevice* kappa = EntryOf(document, exSwitchKappa::kModelCode);
    ASSERT_NE(kappa, nullptr);
    ASSERT_EQ(kappa->modules.size(), 2u);
    EXPECT_EQ(kappa->modules[1].bay, 3);
    EXPECT_EQ(kappa->modules[1].dmxPorts.size(), 4u) << "the ports its bay reports";

    SimulatedRig fresh(rack);
    Meet(fresh);
    const size_t sentBefore = rack.kivnet.sent.size() + rack.update.sent.size();
    const exRigLoadSummary summary = Load(reread);
    EXPECT_EQ(summary.matched, int(saved.devices.size()));
    EXPECT_EQ(summary.differing, 0);
    EXPECT_TRUE(summary.absent.empty() && summary.waiting.empty() && summary.notApplied.empty());
    EXPECT_EQ(ModifiedDevices(), 0);
    EXPECT_EQ(rack.kivnet.sent.size() + rack.update.sent.size(), sentBefore);
}

TEST_F(RigRecordsTest, ExactlyTheChangedValuesWaitForUpdateWhichRestoresThem)
{
    SimulatedRig original(rack);
    Meet(original, SetUniverses);
    const exRigDocument document = Save();
    const std::vector<sim::Device> wanted = original.devices;

    SimulatedRig changed(rack);
    Meet(changed, ChangeOnTheDevices);
    const size_t sentBefore = rack.kivnet.sent.size() + rack.update.sent.size();
    const exRigLoadSummary summary = Load(document);
    EXPECT_EQ(summary.differing, 5);
    EXPECT_EQ(rack.kivnet.sent.size() + rack.update.sent.size(), sentBefore) << "nothing is sent";

    exBaseNode* delta = Device(kNodeDelta);
    EXPECT_TRUE(delta->frontPanel->state.IsEdited());
    EXPECT_EQ(delta->deviceName, wxString::FromUTF8(EntryOf(document, kNodeDelta)->name));
    exBaseNode* beta = Device(kNodeBeta);
    EXPECT_TRUE(beta->dmxPorts[1]->state.IsEdited());
    EXPECT_FALSE(beta->dmxPorts[0]->state.IsEdited());
    EXPECT_TRUE(beta->network.state.IsEdited());
    EXPECT_FALSE(beta->frontPanel->state.IsEdited());
    exBaseNode* kappa = Device(exSwitchKappa::kModelCode);
    const auto* largeSwitch = static_cast<exSwitchKappa*>(kappa);
    EXPECT_TRUE(largeSwitch->modules[3]->dmxPorts[1]->state.IsEdited());
    EXPECT_TRUE(kappa->modified) << "a module's edit is sent by its switch";
    EXPECT_EQ(ModifiedDevices(), 5) << "Delta, Beta, Theta, the switch and its module";

    PressUpdate();
    changed.Settle(kSettleSteps);
    for (size_t i = 0; i < wanted.size(); ++i) {
        const sim::Device& now = changed.devices[i];
        SCOPED_TRACE(now.model->title);
        EXPECT_EQ(now.name, wanted[i].name);
        EXPECT_EQ(now.ip, wanted[i].ip);
        for (size_t p = 0; p < now.ports.size(); ++p)
            EXPECT_EQ(now.ports[p].universe, wanted[i].ports[p].universe) << "port " << p + 1;
        for (size_t p = 0; p < now.switchPorts.size(); ++p)
            EXPECT_EQ(now.switchPorts[p].value, wanted[i].switchPorts[p].value) << "port " << p + 1;
        for (int bay = 1; bay <= sim::kBayCount; ++bay)
            for (size_t p = 0; p < now.bays[bay].size(); ++p)
                EXPECT_EQ(now.bays[bay][p].universe, wanted[i].bays[bay][p].universe);
    }
    EXPECT_EQ(ModifiedDevices(), 0);
}

TEST_F(RigRecordsTest, PendingEditsOutliveAReadBack)
{
    SimulatedRig original(rack);
    Meet(original);
    exRigDocument document = Save();
    exRigDevice& entry = *const_cast<exRigDevice*>(EntryOf(document, kNodeBeta));
    entry.dmxPorts[0] = {1, exDMXPort::kOutput, exUniverseCode::kArtNet, 99};
    entry.locked = !entry.locked;
    entry.displayTimeout = 5;
    ASSERT_EQ(Load(document).differing, 4) << "protocol, universe, lock, time-out";

    exBaseNode* beta = Device(kNodeBeta);
    beta->StartRefresh();
    original.Settle(kSettleSteps);
    EXPECT_EQ(beta->dmxPorts[0]->universe, 99);
    EXPECT_EQ(beta->locked, entry.locked);
    EXPECT_EQ(beta->displayTimeout, 5);
    EXPECT_TRUE(beta->dmxPorts[0]->state.IsEdited() && beta->frontPanel->state.IsEdited());
}

TEST_F(RigRecordsTest, ValuesNoDialogCanProduceAreLeftAsTheyAre)
{
    SimulatedRig rig(rack);
    Meet(rig, [](SimulatedRig& changed) {
        for (sim::Device& device : changed.devices)
            if (device.modelCode == kNodeDelta)
                device.ports[8].mode = sim::kInput;
    });
    exRigDocument document = Save();
    auto entry = [&](uint16_t model) { return const_cast<exRigDevice*>(EntryOf(document, model)); };
    entry(kNodeDelta)->dmxPorts[8].mode = exDMXPort::kOutput; // port 9 cannot output
    entry(exSwitchKappa::kModelCode)->modules.push_back({2, {{1, 2, 0, 1}}}); // bay 2 is empty
    exRigDevice* theta = nullptr;
    for (exRigDevice& device : document.devices)
        if (!device.switchPorts.empty() && device.modules.empty() && !theta &&
            device.modelCode != exSwitchKappa::kLaterModelCode)
            theta = &device;
    ASSERT_NE(theta, nullptr);
    theta->switchPorts[0].mode = exSwitchPort::kFilter;
    theta->switchPorts[1].speed = 3; // SFP, on a port without the cage

    const exRigLoadSummary summary = Load(document);
    EXPECT_EQ(summary.differing, 0);
    ASSERT_EQ(summary.notApplied.size(), 4u);
    EXPECT_NE(summary.notApplied[0].find("DMX port 9 cannot output"), std::string::npos);
    EXPECT_EQ(ModifiedDevices(), 0);
}

TEST_F(RigRecordsTest, ALoopWhosePartnerIsNoLongerOneIsReleased)
{
    SimulatedRig rig(rack);
    Meet(rig, [](SimulatedRig& changed) {
        for (sim::Device& device : changed.devices)
            if (device.model->family == sim::Family::SwitchTheta) {
                device.switchPorts[0] = {2, 0, 2};
                device.switchPorts[1] = {2, 0, 1};
            }
    });
    exRigDocument document = Save();
    for (exRigDevice& device : document.devices) {
        if (device.switchPorts.size() < 2 || !device.modules.empty())
            continue;
        if (device.switchPorts[0].loopPartner != 2)
            continue;
        // The file knows port 1 only, as a normal port: port 2 loops with nobody.
        device.switchPorts.erase(device.switchPorts.begin() + 1, device.switchPorts.end());
        device.switchPorts[0] = {1, exSwitchPort::kNormal, 0, 1, 0};
    }
    EXPECT_EQ(Load(document).differing, 3);
    for (exBaseNode* device : rack.Devices()) {
        if (device->switchPorts.size() < 2 ||
            device->network.modelCode == exSwitchKappa::kModelCode)
            continue;
        if (!device->switchPorts[1]->state.IsEdited())
            continue;
        EXPECT_EQ(device->switchPorts[1]->mode, exSwitchPort::kNormal);
        EXPECT_EQ(device->switchPorts[1]->loopPartner, 0);
    }
}

TEST_F(RigRecordsTest, ADisabledPortComesBackDisabledWithTheUniverseTheDeviceHolds)
{
    SimulatedRig rig(rack);
    Meet(rig, [](SimulatedRig& changed) {
        for (sim::Device& device : changed.devices)
            if (device.modelCode == kNodeBeta)
                device.ports[2].mode = sim::kDisabled;
    });
    const exRigDocument document = Save();
    const exRigDmxPort disabled{3, exDMXPort::kDisabled, exUniverseCode::kNotSet, -1};
    ASSERT_EQ(EntryOf(document, kNodeBeta)->dmxPorts.at(2), disabled) << "it reports no universe";

    // At its panel port 3 is made an output elsewhere; the program reads the device again.
    sim::Device& beta = rig.devices.front();
    ASSERT_EQ(beta.modelCode, kNodeBeta);
    beta.ports[2] = {sim::kOutput, 0x0205, 0}; // Art-Net 0x05
    rig.Reconnect(kSettleSteps);
    exDMXPort& port = *Device(kNodeBeta)->dmxPorts[2];
    ASSERT_EQ(port.mode, exDMXPort::kOutput);

    const exRigLoadSummary summary = Load(document);
    EXPECT_TRUE(summary.notApplied.empty()) << summary.notApplied.front();
    EXPECT_EQ(summary.differing, 1) << "the mode alone";
    EXPECT_TRUE(port.state.IsEdited());
    EXPECT_EQ(port.mode, exDMXPort::kDisabled);
    EXPECT_EQ(port.protocol, exUniverseCode::kArtNet);
    EXPECT_EQ(port.universe, 5);

    PressUpdate();
    rig.Settle(kSettleSteps);
    EXPECT_EQ(beta.ports[2].mode, sim::kDisabled);
    EXPECT_EQ(beta.ports[2].universe, 0x0205) << "sent with the universe the device holds";
}

// A port saved without a protocol takes its mode from the file and keeps the protocol and
// universe it has; an input-only port that reports an output may keep outputting.
TEST_F(RigRecordsTest, APortSavedWithoutAProtocolKeepsTheOneItHas)
{
    SimulatedRig rig(rack);
    Meet(rig);
    exRigDocument document = Save();
    constexpr int kNone = exUniverseCode::kNotSet;
    constexpr int kArtNet = exUniverseCode::kArtNet;
    constexpr int kSacn = exUniverseCode::kSacn;
    struct Case {
        const char* what;
        uint16_t model;
        int port; // from 1
        exRigDmxPort saved;
        // What the port holds before the load, and after it.
        int mode, protocol, universe;
        int modeAfter, protocolAfter, universeAfter;
        const char* note; // in what is left as it is; empty: nothing
    } cases[] = {
        {"disabled, the device outputs",
         kNodeBeta,
         1,
         {1, 0, kNone, -1},
         2,
         kArtNet,
         5,
         0,
         kArtNet,
         5,
         ""},
        {"disabled, the device too", kNodeBeta, 2, {2, 0, kNone, -1}, 0, kSacn, 9, 0, kSacn, 9, ""},
        {"an output without one, the device's has none",
         kNodeBeta,
         3,
         {3, 2, kNone, -1},
         2,
         kNone,
         -1,
         2,
         kNone,
         -1,
         ""},
        {"an output without one, the device's input has one",
         kNodeDelta,
         1,
         {1, 2, kNone, -1},
         1,
         kSacn,
         100,
         2,
         kSacn,
         100,
         "DMX port 1 cannot be left without a protocol"},
        {"an input-only port that outputs, on another universe",
         kNodeDelta,
         9,
         {9, 2, kArtNet, 7},
         2,
         kArtNet,
         5,
         2,
         kArtNet,
         7,
         ""},
        {"an input-only port made an output",
         kNodeDelta,
         10,
         {10, 2, kArtNet, 7},
         1,
         kArtNet,
         5,
         1,
         kArtNet,
         5,
         "DMX port 10 cannot output"},
    };
    for (Case& c : cases) {
        exRigDevice& entry = *const_cast<exRigDevice*>(EntryOf(document, c.model));
        entry.dmxPorts.at(size_t(c.port - 1)) = c.saved;
        exDMXPort& port = *Device(c.model)->dmxPorts[size_t(c.port - 1)];
        port.mode = c.mode;
        port.protocol = c.protocol;
        port.universe = c.universe;
    }
    const exRigLoadSummary summary = Load(document);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const exDMXPort& port = *Device(c.model)->dmxPorts[size_t(c.port - 1)];
        EXPECT_EQ(port.state.IsEdited(), c.modeAfter != c.mode || c.universeAfter != c.universe);
        EXPECT_EQ(port.mode, c.modeAfter);
        EXPECT_EQ(port.protocol, c.protocolAfter);
        EXPECT_EQ(port.universe, c.universeAfter);
        const bool noted = std::any_of(summary.notApplied.begin(), summary.notApplied.end(),
                                       [&](const std::string& line) {
                                           return *c.note && line.find(c.note) != std::string::npos;
                                       });
        EXPECT_EQ(noted, *c.note != 0);
    }
    EXPECT_EQ(summary.notApplied.size(), 2u);
}

TEST_F(RigRecordsTest, ATrunksVlanIsNeitherComparedNorSent)
{
    SimulatedRig rig(rack);
    Meet(rig, [](SimulatedRig& changed) {
        for (sim::Device& device : changed.devices)
            if (device.model->family == sim::Family::SwitchTheta)
                device.switchPorts[3] = {2, 0, 0}; // a trunk: partner 0, no VLAN
    });
    exRigDocument document = Save();
    for (exRigDevice& entry : document.devices)
        if (entry.modelCode == 0x0318)
            entry.switchPorts.at(3).vlan = 99;
    const exRigLoadSummary summary = Load(document);
    EXPECT_EQ(summary.differing, 0);
    EXPECT_EQ(ModifiedDevices(), 0);
}

// A device is loaded once every setting it reads back is known: a read-back asked again over
// known values is no reason to wait, one that starts over after the device was away is, and so
// is a module's port not read yet. Save leaves such a device out.
TEST_F(RigRecordsTest, ADeviceWaitsUntilEverySettingItReadsIsKnown)
{
    struct Case {
        const char* what;
        uint16_t model;
        void (*happen)(exBaseNode& device);
        bool waits;
    } cases[] = {
        {"asked again", kNodeBeta, [](exBaseNode& device) { device.StartRefresh(); }, false},
        {"back after being away", kNodeDelta, [](exBaseNode& device) { device.ReadAgain(); }, true},
        {"a module put back into its bay", exSwitchKappa::kModelCode,
         [](exBaseNode& device) {
             static_cast<exSwitchKappa&>(device).modules[3]->dmxPorts[3]->state.Forget();
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimulatedRig rig(rack);
        Meet(rig);
        const exRigDocument document = Save();
        exBaseNode* device = Device(c.model);
        c.happen(*device);

        int leftOut = -1;
        const exRigDocument later = exRig::Take(rack.Devices(), "2026-12-09T12:00:00Z", leftOut);
        EXPECT_EQ(leftOut, c.waits ? 1 : 0);
        EXPECT_EQ(EntryOf(later, c.model) == nullptr, c.waits);
        const exRigLoadSummary summary = Load(document);
        EXPECT_EQ(summary.waiting.size(), c.waits ? 1u : 0u);
        EXPECT_EQ(summary.matched, int(rig.devices.size()) - (c.waits ? 1 : 0));
        EXPECT_EQ(ModifiedDevices(), 0);
    }
}

// A display time-out the device reports but its dialog does not offer has no word in the file:
// saved as none, it leaves the rest of the rig loadable.
TEST_F(RigRecordsTest, ATimeOutNoDialogOffersIsSavedAsNoneAndTheRigStillLoads)
{
    SimulatedRig rig(rack);
    Meet(rig, [](SimulatedRig& changed) {
        for (sim::Device& device : changed.devices)
            if (device.modelCode == kNodeBeta)
                device.displayTimeout = 3;
    });
    const exRigDocument document = Save();
    EXPECT_EQ(EntryOf(document, kNodeBeta)->displayTimeout, exRigDevice::kNoDisplayTimeout);
    exRigDocument reread;
    wxString problem;
    ASSERT_TRUE(exRigJson::Read(exRigJson::Write(document), reread, problem)) << problem;
    EXPECT_EQ(Load(reread).differing, 0);
    EXPECT_EQ(Device(kNodeBeta)->displayTimeout, 3);
}
