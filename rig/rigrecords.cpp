#include "rig/rigrecords.h"

#include <algorithm>

#include <wx/string.h>

#include "devices/basenode.h"
#include "devices/canvasuicontrol.h"
#include "devices/displaytimeout.h"
#include "devices/dmxport.h"
#include "devices/nodezeta.h"
#include "devices/switchkappa.h"
#include "devices/switchport.h"
#include "net/kivnetprotocol.h"
#include "net/universecode.h"
#include "net/utf8text.h"
#include "rig/rigmodels.h"

namespace {

// The speed choice a port offers only when it has an SFP cage.
constexpr int kSfpSpeed = 3;

std::string NameAsSent(const wxString& name)
{
    return EncodeUtf8Cut(name, exKivnetProtocol::kNameWidth);
}

std::string Describe(const exBaseNode& device)
{
    return wxString::Format("%s unit %u", device.title, unsigned(device.network.unitNumber))
        .utf8_string();
}

// A universe outside its protocol's range is saved as not set, as the port shows it.
exRigDmxPort CapturePort(const exDMXPort& port, int number)
{
    const bool set = exUniverseCode::InRange(port.protocol, port.universe);
    return {number, port.mode, set ? port.protocol : exUniverseCode::kNotSet,
            set ? port.universe : -1};
}

std::vector<exRigDmxPort> CaptureDmxPorts(const std::vector<exDMXPort*>& ports, size_t count)
{
    std::vector<exRigDmxPort> captured;
    for (size_t i = 0; i < ports.size() && i < count; ++i)
        captured.push_back(CapturePort(*ports[i], int(i) + 1));
    return captured;
}

// The ports of a large switch's module that the switch reports, and reads back.
size_t ModulePortCount(const exSwitchKappa& largeSwitch, int bay)
{
    const exNodeZeta* module = largeSwitch.modules[size_t(bay)];
    return std::min(module->dmxPorts.size(),
                    size_t(std::max(largeSwitch.bayPorts[size_t(bay)], 0)));
}

const exSwitchKappa* LargeSwitchOf(const exBaseNode& device)
{
    return dynamic_cast<const exSwitchKappa*>(&device);
}

// The module in the bay while the switch reports one there; null for an empty bay.
exNodeZeta* HostedModule(const exSwitchKappa& largeSwitch, int bay)
{
    exNodeZeta* module = largeSwitch.modules[size_t(bay)];
    return module && module->connectionState == exBaseNode::kHosted ? module : nullptr;
}

// The pending edits of one device, and what could not be made one.
class Applier {
public:
    Applier(exBaseNode& device, std::vector<std::string>& notApplied)
        : device(device), notApplied(notApplied)
    {
        exRigModels::Limits(device.network.modelCode, limits);
    }

    int changed = 0;

    void DeviceSettings(const exRigDevice& saved)
    {
        bool edited = false;
        if (NameAsSent(device.deviceName) != saved.name) {
            device.deviceName = wxString::FromUTF8(saved.name);
            edited = true;
            ++changed;
        }
        if (saved.displayTimeout != exRigDevice::kNoDisplayTimeout &&
            saved.displayTimeout != device.displayTimeout) {
            if (limits.offersDisplayTimeout) {
                device.displayTimeout = saved.displayTimeout;
                edited = true;
                ++changed;
            } else {
                Refuse("its display time-out cannot be set");
            }
        }
        if (saved.locked != device.locked) {
            if (limits.offersLock) {
                device.locked = saved.locked;
                edited = true;
                ++changed;
            } else {
                Refuse("its front-panel lock cannot be set");
            }
        }
        if (edited)
            device.frontPanel->state.Edit();
        device.modified = device.modified || edited;
    }

    void Network(const exRigDevice& saved)
    {
        exNetworkSettings& network = device.network;
        const int before = changed;
        changed += saved.dhcp != network.currentDhcp;
        if (!saved.dhcp) {
            changed += saved.ip != network.currentIp;
            changed += saved.mask != network.currentMask;
        }
        if (changed == before)
            return;
        // Under DHCP the address stays the one the device has until its server gives another.
        network.newDhcp = saved.dhcp;
        network.newIp = saved.dhcp ? network.currentIp : saved.ip;
        network.newMask = saved.dhcp ? network.currentMask : saved.mask;
        network.state.Edit();
        device.modified = true;
    }

    // `bay` is 0 for the device's own ports, else the bay of the module that owns them.
    void DmxPorts(const std::vector<exRigDmxPort>& saved, exBaseNode& owner, size_t count, int bay)
    {
        const wxString module = wxString::Format("the module in bay %d", bay);
        for (const exRigDmxPort& port : saved) {
            if (port.number < 1 || port.number > int(std::min(count, owner.dmxPorts.size()))) {
                Refuse(wxString::Format("%s has no DMX port %d", bay ? module : wxString("it"),
                                        port.number));
                continue;
            }
            const wxString name =
                wxString::Format("DMX port %d", port.number) + (bay ? " of " + module : wxString());
            DmxPort(port, *owner.dmxPorts[size_t(port.number - 1)], owner, name);
        }
    }

    void SwitchPorts(const std::vector<exRigSwitchPort>& saved)
    {
        for (const exRigSwitchPort& port : saved) {
            if (port.number < 1 || port.number > int(device.switchPorts.size())) {
                Refuse(wxString::Format("it has no switch port %d", port.number));
                continue;
            }
            SwitchPort(port, *device.switchPorts[size_t(port.number - 1)]);
        }
        ReleaseUnpairedLoops();
    }

    void Modules(const std::vector<exRigModule>& saved)
    {
        const exSwitchKappa* largeSwitch = LargeSwitchOf(device);
        for (const exRigModule& module : saved) {
            exNodeZeta* present =
                largeSwitch && module.bay >= 1 && module.bay <= exSwitchKappa::kBays
                    ? HostedModule(*largeSwitch, module.bay)
                    : nullptr;
            if (!present) {
                Refuse(wxString::Format("bay %d holds no module", module.bay));
                continue;
            }
            DmxPorts(module.dmxPorts, *present, ModulePortCount(*largeSwitch, module.bay),
                     module.bay);
        }
    }

private:
    void DmxPort(const exRigDmxPort& saved, exDMXPort& port, exBaseNode& owner,
                 const wxString& name)
    {
        // Compared as saved: what the port holds, in the form a capture writes it.
        const exRigDmxPort now = CapturePort(port, saved.number);
        // A port saved without a protocol (a disabled port reports none) keeps the protocol and
        // universe it has: a disabled port goes out with the universe the device holds.
        const bool keepsUniverse = saved.protocol == exUniverseCode::kNotSet;
        const int differing =
            (saved.mode != now.mode) +
            (keepsUniverse ? 0
                           : (saved.protocol != now.protocol) + (saved.universe != now.universe));
        // A port that cannot output may report that it does: it may go on, not be made one.
        if (differing > 0 && saved.mode == exDMXPort::kOutput && port.optionFlag &&
            port.mode != exDMXPort::kOutput) {
            Refuse(name + " cannot output");
            return;
        }
        // No dialog takes a protocol away: an enabled port keeps the one it has.
        if (keepsUniverse && saved.mode != exDMXPort::kDisabled &&
            now.protocol != exUniverseCode::kNotSet)
            Refuse(name + " cannot be left without a protocol");
        if (differing == 0)
            return;
        port.mode = saved.mode;
        if (!keepsUniverse) {
            port.protocol = saved.protocol;
            port.universe = exUniverseCode::Sendable(saved.protocol, saved.universe);
        }
        port.state.Edit();
        owner.modified = true;
        if (owner.host)
            owner.host->modified = true;
        changed += differing;
    }

    void SwitchPort(const exRigSwitchPort& saved, exSwitchPort& port)
    {
        // A trunk or a loop carries its partner (0 for a trunk) where other ports carry their
        // VLAN: its VLAN is neither reported nor sent.
        const bool carriesVlan = saved.mode != exSwitchPort::kTrunkOrLoop;
        const bool loop = !carriesVlan && saved.loopPartner != 0;
        const bool wasLoop = port.mode == exSwitchPort::kTrunkOrLoop && port.loopPartner != 0;
        int differing = (saved.mode != port.mode) + (loop != wasLoop);
        if (loop)
            differing += saved.loopPartner != port.loopPartner;
        else if (carriesVlan)
            differing += saved.vlan != port.vlan;
        const bool speedDiffers = saved.speed != port.speed;
        if (speedDiffers && (!port.speedSelectable || (saved.speed == kSfpSpeed && !port.hasSfp)))
            Refuse(wxString::Format("switch port %d cannot take that speed", saved.number));
        else
            differing += speedDiffers;
        if (differing == 0)
            return;
        if (saved.mode == exSwitchPort::kFilter && port.mode != exSwitchPort::kFilter) {
            Refuse(wxString::Format("switch port %d cannot be made a filter port", saved.number));
            return;
        }
        port.mode = saved.mode;
        if (port.speedSelectable && (saved.speed != kSfpSpeed || port.hasSfp))
            port.speed = saved.speed;
        port.loopPartner = loop ? saved.loopPartner : 0;
        if (carriesVlan)
            port.vlan = saved.vlan;
        port.state.Edit();
        device.modified = true;
        changed += differing;
    }

    // A loop whose partner no longer names it back (the switch has ports the file does not
    // list) is released, as the switch port dialog releases one.
    void ReleaseUnpairedLoops()
    {
        const int count = int(device.switchPorts.size());
        for (int i = 0; i < count; ++i) {
            exSwitchPort& port = *device.switchPorts[size_t(i)];
            if (port.mode != exSwitchPort::kTrunkOrLoop || port.loopPartner == 0)
                continue;
            const int partner = port.loopPartner;
            const bool paired =
                partner >= 1 && partner <= count && partner != i + 1 &&
                device.switchPorts[size_t(partner - 1)]->mode == exSwitchPort::kTrunkOrLoop &&
                device.switchPorts[size_t(partner - 1)]->loopPartner == i + 1;
            if (paired)
                continue;
            port.mode = exSwitchPort::kNormal;
            port.loopPartner = 0;
            port.state.Edit();
            device.modified = true;
            ++changed;
        }
    }

    void Refuse(const wxString& what)
    {
        notApplied.push_back(Describe(device) + ": " + what.utf8_string());
    }

    exBaseNode& device;
    std::vector<std::string>& notApplied;
    exRigModelLimits limits;
};

} // namespace

bool exRigRecords::IsReadBack(const exBaseNode& device)
{
    if (device.host || device.hidden || !device.IsReadBack())
        return false;
    // A large switch reads its modules' ports as well (a module shows those its bay reports).
    if (const exSwitchKappa* largeSwitch = LargeSwitchOf(device))
        for (int bay = 1; bay <= exSwitchKappa::kBays; ++bay)
            if (const exNodeZeta* module = HostedModule(*largeSwitch, bay))
                if (!module->IsReadBack())
                    return false;
    return true;
}

exRigDevice exRigRecords::Capture(const exBaseNode& device)
{
    exRigModelLimits limits;
    exRigModels::Limits(device.network.modelCode, limits);
    exRigDevice saved;
    saved.modelCode = device.network.modelCode;
    saved.modelName = limits.modelName.empty() ? device.title.utf8_string() : limits.modelName;
    saved.unitNumber = device.network.unitNumber;
    saved.mac = device.network.mac;
    saved.name = NameAsSent(device.deviceName);
    saved.ip = device.network.currentIp;
    saved.mask = device.network.currentMask;
    saved.dhcp = device.network.currentDhcp;
    // A code the dialog does not offer has no word in the file, which would refuse it whole.
    const bool offered =
        limits.offersDisplayTimeout && exDisplayTimeout::IndexOf(device.displayTimeout) >= 0;
    saved.displayTimeout = offered ? device.displayTimeout : exRigDevice::kNoDisplayTimeout;
    saved.locked = device.locked;
    saved.dmxPorts = CaptureDmxPorts(device.dmxPorts, device.dmxPorts.size());
    for (size_t i = 0; i < device.switchPorts.size(); ++i) {
        const exSwitchPort& port = *device.switchPorts[i];
        const bool loop = port.mode == exSwitchPort::kTrunkOrLoop && port.loopPartner != 0;
        saved.switchPorts.push_back(
            {int(i) + 1, port.mode, port.speed, port.vlan, loop ? port.loopPartner : 0});
    }
    if (const exSwitchKappa* largeSwitch = LargeSwitchOf(device))
        for (int bay = 1; bay <= exSwitchKappa::kBays; ++bay)
            if (const exNodeZeta* module = HostedModule(*largeSwitch, bay))
                saved.modules.push_back(
                    {bay, CaptureDmxPorts(module->dmxPorts, ModulePortCount(*largeSwitch, bay))});
    return saved;
}

int exRigRecords::Apply(const exRigDevice& saved, exBaseNode& device,
                        std::vector<std::string>& notApplied)
{
    Applier applier(device, notApplied);
    applier.DeviceSettings(saved);
    applier.Network(saved);
    applier.DmxPorts(saved.dmxPorts, device, device.dmxPorts.size(), 0);
    applier.SwitchPorts(saved.switchPorts);
    applier.Modules(saved.modules);
    if (applier.changed > 0)
        device.SetDirty();
    return applier.changed;
}
