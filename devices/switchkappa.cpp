#include "devices/switchkappa.h"

#include <algorithm>

#include "common/appstate.h"
#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "devices/nodezeta.h"
#include "devices/paneldrawing.h"
#include "devices/switchport.h"
#include "devices/switchrecords.h"
#include "discovery/devicerack.h"
#include "net/kivnetprotocol.h"
#include "net/kivnetsocket.h"

using exPanelDrawing::Place;

namespace {
constexpr int kSmallPortCount = 10;
constexpr int kLargePortCount = 18;
// Fewer ports leave no room for the two SFP cages the layout ends with.
constexpr int kFewestPorts = 2;
constexpr int kModuleDesignHeight = 70;

// A module shows the ports its bay reports: the others are never read and never sent.
void ShowBayPorts(exNodeZeta* module, int count)
{
    for (size_t i = 0; i < module->dmxPorts.size(); ++i)
        module->dmxPorts[i]->hidden = int(i) >= count;
}
} // namespace

exSwitchKappa::exSwitchKappa(exCanvasControl* parent) : exBaseNode19Inch(parent, 0)
{
    title = "Pylon SwitchKappa 10";
    ethernetPort2->socketCount = exEthernetPort::kInfoKey;
    Place(ethernetPort2, 700, 100);
    panelStyle = exCanvasUIControl::kSmallDisplay;
    Place(frontPanel, 605, 10);
    SetSwitchPortCount(kSmallPortCount);
    logo = exPanelDrawing::LoadLogo();
    titleBox = exPanelDrawing::LogoTitleBox();
}

void exSwitchKappa::SetSwitchPortCount(int count)
{
    exSwitchRecords::RemovePorts(this);
    // A switch that drops back from 18 ports is a 10-port switch again.
    title = count == kLargePortCount ? "Pylon SwitchKappa 18" : "Pylon SwitchKappa 10";
    const int shift = count == kLargePortCount ? 0 : 180;
    const int half = (count - 2) / 2;
    for (int i = 0; i < count; ++i) {
        if (i < half) {
            exSwitchRecords::AddPort(this, i, 150 + 45 * i, 0);
        } else if (i < count - 2) {
            exSwitchRecords::AddPort(this, i, shift + 150 + 45 * (i - half), 75);
        } else {
            const int x = i == count - 2 ? shift + 105 : shift + 105 + 45 * (count - 1 - half);
            exSwitchPort* port = exSwitchRecords::AddPort(this, i, x, 75);
            port->connectorKind = exSwitchPort::kSfpOnly;
            port->label = i == count - 2 ? "X1" : "X2";
        }
    }
    SetDirty();
}

void exSwitchKappa::RequestDeviceSettings()
{
    if (!exAppState::kivnetSocket)
        return;
    std::vector<uint8_t> request = exKivnetProtocol::BuildLargeIdentifyRequest();
    if (!network.ipText.empty())
        exAppState::kivnetSocket->SendTo(request.data(), request.size(), network.ipText);
    else
        exAppState::kivnetSocket->SendToList(request.data(), request.size(),
                                             exAppState::kivnetSocket->broadcastAddresses);
}

void exSwitchKappa::ProgramAll()
{
    if (host)
        return;
    SendSwitchSettings();
    for (int bay = 1; bay <= kBays; ++bay)
        if (exNodeZeta* module = modules[bay]) {
            // Ports not read yet are left alone (ProgramPort sends only what was read).
            for (exDMXPort* port : module->dmxPorts)
                module->ProgramPort(port);
            module->modified = false;
        }
    SendNetworkSettings();
}

void exSwitchKappa::ReadAgain()
{
    // The modules' ports are read by the switch's own read-back, under their wire numbers; a
    // module has no address to be asked at.
    for (exNodeZeta* module : modules)
        if (module)
            module->ForgetReadValues();
    exBaseNode19Inch::ReadAgain();
}

void exSwitchKappa::SendDeviceSettings()
{
    SendSwitchSettings();
}

void exSwitchKappa::SendSwitchSettings()
{
    // Every port goes out in the one message: a switch not read back would get defaults.
    if (!IsReadBack())
        return;
    exSwitchSettings settings = exSwitchRecords::CollectForSending(this);
    settings.switchWord = switchWord;
    settings.switchByteA = switchByteA;
    settings.switchByteB = switchByteB;
    std::vector<uint8_t> message =
        exKivnetProtocol::BuildSwitchSettings(exSwitchForm::Large, settings);
    SendKivnet(message, network.currentIp);
    SetDirty();
}

void exSwitchKappa::HandleReply(const uint8_t* reply, size_t length)
{
    exKivnetHeader header;
    if (!exKivnetProtocol::ReadHeader(reply, length, header))
        return;
    switch (header.command) {
    case exKivnetProtocol::kIdentifyReply:
        HandleIdentify(reply, length);
        break;
    case exKivnetProtocol::kSwitchSettingsRequest:
        HandleSettings(reply, length, header.isReply);
        break;
    case exKivnetProtocol::kPortSettingsRequest:
        if (header.isReply && readBackStage == kPortStage)
            HandleModulePort(reply, length);
        break;
    default:
        break;
    }
}

void exSwitchKappa::HandleIdentify(const uint8_t* reply, size_t length)
{
    exIdentifyReply identify;
    if (!exKivnetProtocol::ParseIdentifyReply(reply, length, identify))
        return;
    deviceId = identify.id;
    if (identify.hasPortCount && identify.portCount >= kFewestPorts &&
        identify.portCount != switchPortCount)
        SetSwitchPortCount(identify.portCount);
    std::vector<uint8_t> request =
        exKivnetProtocol::BuildHeaderOnly(exKivnetProtocol::kSwitchSettingsRequest);
    SendKivnet(request, network.currentIp);
    RepaintIfShown();
}

void exSwitchKappa::HandleSettings(const uint8_t* reply, size_t length, bool isReply)
{
    exSwitchSettings settings;
    if (!exKivnetProtocol::ParseSwitchSettingsReply(exSwitchForm::Large, reply, length, settings))
        return;
    // Every reply: the switch may be changed at its own panel. What is being edited stays.
    exSwitchRecords::TakeSettings(this, settings);
    switchWord = settings.switchWord;
    switchByteA = settings.switchByteA;
    switchByteB = settings.switchByteB;
    TakeBays(settings.modules);
    // A reply that left ports unread leaves the read-back asking.
    if (isReply && readBackStage == kDeviceStage && IsReadBack()) {
        // Module ports are read from the first bay that holds a module; a switch without
        // modules has none to read, and asking for one it does not have would go unanswered.
        const int first = FirstModulePort();
        if (first < 0) {
            EnterStage(kIdle);
        } else {
            EnterStage(kPortStage, first);
            portRepliesRead = 0;
            RequestPortSettings(readBackPort);
        }
    }
    RepaintIfShown();
}

void exSwitchKappa::TakeBays(const std::array<uint8_t, 16>& counts)
{
    bool created = false;
    int total = 0;
    for (int bay = 1; bay <= kBays; ++bay) {
        const int before = bayPorts[bay];
        const int now = counts[bay];
        bayPorts[bay] = now;
        total += now;
        if (now > before) {
            if (exNodeZeta* module = modules[bay]) {
                // Put back, perhaps another module: its ports are read again.
                module->connectionState = kHosted;
                module->SetFirstPortNumber(kPortsPerBay * bay);
                module->ForgetReadValues();
                ShowBayPorts(module, now);
                module->SetDirty();
                created = true;
            } else if (CreateModule(bay)) {
                created = true;
            } else {
                moduleCreationFailed = true;
            }
        } else if (now == 0 && before > 0 && modules[bay]) {
            modules[bay]->connectionState = kLost;
            modules[bay]->SetDirty();
        }
    }
    dmxPortCount = total;
    if (created)
        StartRefresh();
}

bool exSwitchKappa::CreateModule(int bay)
{
    if (!parent)
        return false;
    exNodeZeta* module = new exNodeZeta(parent);
    module->host = this;
    module->hidden = false;
    module->ethernetPort2->hidden = true;
    module->frontPanel->hidden = true;
    module->connectionState = kHosted;
    module->designHeight = kModuleDesignHeight;
    module->height = Scaled(kModuleDesignHeight);
    module->SetFirstPortNumber(kPortsPerBay * bay);
    ShowBayPorts(module, bayPorts[bay]);
    modules[bay] = module;

    // Modules stand below the switch in bay order. Counting only the modules of lower bays
    // keeps an empty bay from pushing a module below an unrelated device.
    int followers = 0;
    for (int lower = 1; lower < bay; ++lower)
        if (modules[lower])
            ++followers;
    parent->children->InsertAfter(this, followers, module);
    if (const auto* rack = dynamic_cast<const exDeviceRack*>(GetRoot()))
        rack->Relayout();
    module->SetDirty();
    return true;
}

void exSwitchKappa::HandleModulePort(const uint8_t* reply, size_t length)
{
    // A refused reply, or one for a port other than the one asked for (a repeated request
    // answered twice, a late answer), changes nothing in the walk.
    exPortSettings port;
    if (!ParsePortSettings(reply, length, port) || port.wirePort != readBackPort + portBase)
        return;
    ++portRepliesRead;
    const int next = portRepliesRead >= dmxPortCount ? -1 : NextModulePort(port.wirePort);
    if (next < 0) {
        EnterStage(kIdle);
        return;
    }
    EnterStage(kPortStage, next);
    RequestPortSettings(next);
}

int exSwitchKappa::FirstModulePort() const
{
    for (int bay = 1; bay <= kBays; ++bay)
        if (modules[bay] && bayPorts[bay] > 0)
            return bay * kPortsPerBay;
    return -1;
}

int exSwitchKappa::NextModulePort(int wirePort) const
{
    const int bay = wirePort / kPortsPerBay;
    const int index = wirePort % kPortsPerBay;
    if (bay >= 1 && bay <= kBays && index + 1 < bayPorts[bay])
        return wirePort + 1;
    // Empty bays are passed over: a module in bay 3 after one in bay 1 is read too.
    for (int nextBay = std::max(bay + 1, 1); nextBay <= kBays; ++nextBay)
        if (modules[nextBay] && bayPorts[nextBay] > 0)
            return nextBay * kPortsPerBay;
    return -1;
}

void exSwitchKappa::Tick(int elapsedMs)
{
    exBaseNode19Inch::Tick(elapsedMs);
    if (connectionState != kOnline)
        return;
    identifyElapsed += elapsedMs;
    if (identifyElapsed >= kIdentifyIntervalMs) {
        identifyElapsed = 0;
        RequestDeviceSettings();
    }
}

exDMXPort* exSwitchKappa::GetDMXPort(int wirePort)
{
    const int bay = wirePort / kPortsPerBay;
    if (bay < 1 || bay > kBays || !modules[bay])
        return nullptr;
    const int index = wirePort % kPortsPerBay;
    if (index >= int(modules[bay]->dmxPorts.size()))
        return nullptr;
    return modules[bay]->dmxPorts[index];
}

void exSwitchKappa::PaintTitle(wxGraphicsContext* gc)
{
    exPanelDrawing::PaintLogoTitle(gc, title, titleBox, displayScale);
}

void exSwitchKappa::OnAlive()
{
    exBaseNode19Inch::OnAlive();
    if (!moduleCreationFailed)
        return;
    for (int bay = 1; bay <= kBays; ++bay) {
        if (modules[bay])
            continue;
        if (bayPorts[bay] > 0 && CreateModule(bay)) {
            moduleCreationFailed = false;
            StartRefresh();
        }
        break;
    }
}
