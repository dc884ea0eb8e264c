#include "devices/basenode.h"

#include <algorithm>
#include <cstdio>

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#include "common/appstate.h"
#include "common/controls/canvascolours.h"
#include "common/controls/paintfonts.h"
#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "devices/paneldrawing.h"
#include "devices/switchport.h"
#include "dialogs/messagedialog.h"
#include "discovery/deviceindex.h"
#include "discovery/devicerack.h"
#include "discovery/localadapters.h"
#include "net/artnetprotocol.h"
#include "net/artnetsocket.h"
#include "net/kivnetprotocol.h"
#include "net/kivnetsocket.h"
#include "net/updateprotocol.h"
#include "net/updatesocket.h"

#include "resources/warning.xpm"

wxIMPLEMENT_ABSTRACT_CLASS(exBaseNode, exCanvasControl);

namespace {
constexpr int kWarningImageSize = 128;

// Each device its own sequence of retry waits, the same from one run to the next.
uint32_t NextRetrySeed()
{
    static uint32_t seed = 0x9E3779B9u;
    seed += 0x6D2B79F5u;
    return seed;
}
} // namespace

exBaseNode::exBaseNode(exCanvasControl* parent, int dmxPortCount)
    : exCanvasControl(parent, 0, 0, 0, 0, wxEmptyString), dmxPortCount(dmxPortCount),
      readBackRetry(NextRetrySeed())
{
    designWidth = kDesignWidth;
    designHeight = kDesignHeight;
    width = Scaled(kDesignWidth);
    height = Scaled(kDesignHeight);
    for (int i = 0; i < dmxPortCount; ++i) {
        exDMXPort* port = new exDMXPort(this, i);
        dmxPorts.push_back(port);
        children->Append(port);
    }
    ethernetPort1 = new exEthernetPort(this, &network);
    children->Append(ethernetPort1);
    ethernetPort2 = new exEthernetPort(this, &network);
    children->Append(ethernetPort2);
    frontPanel = new exCanvasUIControl(this);
    children->Append(frontPanel);
    labelFont = exPanelDrawing::SwissBold(9, displayScale);
}

wxSize exBaseNode::Paint(wxGraphicsContext* gc)
{
    PaintFront(gc);
    PaintBack(gc);
    return wxSize(width, height);
}

wxSize exBaseNode::DrawChildren(wxGraphicsContext* gc)
{
    bool usable;
    // A module is as lost as the switch it sits in.
    if (connectionState == kLost || (host && host->connectionState == kLost)) {
        PaintLost(gc);
        usable = false;
    } else if (host) {
        usable = IsReachable(host->network.currentIp);
        if (!usable)
            PaintShade(gc);
    } else {
        usable = IsReachable(network.currentIp);
        if (!usable)
            PaintUnreachable(gc);
    }
    SetEnabled(usable);
    if (!usable)
        return wxSize(width, height);
    return exCanvasControl::DrawChildren(gc);
}

wxSize exBaseNode::PaintFront(wxGraphicsContext*)
{
    return wxSize(width, height);
}

wxSize exBaseNode::PaintBack(wxGraphicsContext*)
{
    return wxSize(width, height);
}

void exBaseNode::StartRefresh()
{
    EnterStage(kDeviceStage);
}

void exBaseNode::EnterStage(int stage, int port)
{
    readBackStage = stage;
    readBackPort = port;
    readBackRetries = stage == kIdle ? 0 : kReadBackTries;
    readBackRetry.Progressed();
}

void exBaseNode::ResumeReadBackIfDue()
{
    if (readBackStage == kIdle || readBackRetries > 0 || !readBackRetry.Due())
        return;
    if (auto* rack = dynamic_cast<exDeviceRack*>(GetRoot()); rack && !rack->TakeResumeTurn())
        return; // asked again at a later reply
    readBackRetries = kReadBackTries;
    readBackRetry.Resumed();
}

void exBaseNode::ReadAgain()
{
    ForgetReadValues();
    StartRefresh();
    RepaintIfShown();
}

void exBaseNode::ForgetReadValues()
{
    frontPanel->state.Forget();
    for (exDMXPort* port : dmxPorts)
        port->state.Forget();
    for (exSwitchPort* port : switchPorts)
        port->state.Forget();
}

bool exBaseNode::IsReadBack() const
{
    // A hidden element (a port a module's bay does not have) is never read.
    const auto read = [](const auto* element) {
        return element->hidden || element->state.MaySend();
    };
    // A module's front panel is its switch's; its ports are read by the switch.
    return (host || read(frontPanel)) && std::all_of(dmxPorts.begin(), dmxPorts.end(), read) &&
           std::all_of(switchPorts.begin(), switchPorts.end(), read);
}

bool exBaseNode::MayEdit(const exCanvasControl* element) const
{
    // A switch sends its settings and every port in one message: all of it must be known.
    const bool isSwitch = !switchPorts.empty();
    if (element == frontPanel)
        return isSwitch ? IsReadBack() : frontPanel->state.MaySend();
    if (std::find(switchPorts.begin(), switchPorts.end(), element) != switchPorts.end())
        return IsReadBack();
    for (const exDMXPort* port : dmxPorts)
        if (port == element)
            return port->state.MaySend();
    return network.state.MaySend();
}

exCanvasControl* exBaseNode::NotReadMessage(exCanvasControl* root, const wxString& element) const
{
    wxArrayString lines;
    lines.Add(element + " of " + title + " \"" + deviceName +
              "\" has not been read from the device yet.");
    lines.Add("Its settings can be changed as soon as the device has answered.");
    return new exMessageDialog(root, "Not read yet", lines);
}

void exBaseNode::SendKivnet(std::vector<uint8_t>& message, uint32_t ip)
{
    if (exAppState::kivnetSocket)
        exAppState::kivnetSocket->SendToIp(message.data(), message.size(), ip);
}

void exBaseNode::RequestDeviceSettings()
{
    std::vector<uint8_t> request =
        exKivnetProtocol::BuildHeaderOnly(exKivnetProtocol::kDeviceSettingsRequest);
    SendKivnet(request, network.currentIp);
}

void exBaseNode::RequestPortSettings(int port)
{
    std::vector<uint8_t> request =
        exKivnetProtocol::BuildPortSettingsRequest(uint8_t(port + portBase));
    SendKivnet(request, network.currentIp);
}

bool exBaseNode::ParseDeviceSettings(const uint8_t* reply, size_t length)
{
    exDeviceSettingsReply settings;
    if (!exKivnetProtocol::ParseDeviceSettingsReply(reply, length, settings))
        return false;
    // Values edited but not yet sent are the user's: a read-back does not undo them.
    if (frontPanel->state.TakesReplies()) {
        if (settings.lock != exKivnetProtocol::kLockNotReported)
            locked = settings.lock != exKivnetProtocol::kUnlocked;
        displayTimeout = settings.displayTimeout;
        frontPanel->state.Read();
    }
    // No dialog edits the option bytes: they are always the device's, sent back as read.
    optionA = settings.optionA;
    optionB = settings.optionB;
    displayLine2 = settings.displayLine2;
    // A device that starts hidden takes its place in the rack with its first settings.
    if (hidden) {
        hidden = false;
        RelayoutRack();
    }
    RepaintIfShown();
    return true;
}

bool exBaseNode::ParsePortSettings(const uint8_t* reply, size_t length, exPortSettings& port)
{
    if (!exKivnetProtocol::ParsePortSettingsReply(reply, length, port))
        return false;
    if (port.mode == exDMXPort::kInput) {
        ParseInputPort(port);
    } else if (port.mode == exDMXPort::kOutput) {
        ParseOutputPort(port);
    } else if (exDMXPort* target = GetDMXPort(port.wirePort);
               target && target->state.TakesReplies()) {
        // A disabled port reports no universe: the one it had is kept for when it is enabled.
        target->mode = exDMXPort::kDisabled;
        target->state.Read();
    }
    RepaintIfShown();
    return true;
}

void exBaseNode::ParseInputPort(const exPortSettings& port)
{
    StorePortSettings(port, exDMXPort::kInput);
}

void exBaseNode::ParseOutputPort(const exPortSettings& port)
{
    StorePortSettings(port, exDMXPort::kOutput);
}

void exBaseNode::StorePortSettings(const exPortSettings& port, int mode)
{
    // A port edited but not yet sent keeps the user's values over a read-back's.
    exDMXPort* target = GetDMXPort(port.wirePort);
    if (!target || !target->state.TakesReplies())
        return;
    target->mode = mode;
    target->SetUniverseCode(port.universeCode);
    target->portValue = port.portValue;
    target->state.Read();
}

void exBaseNode::ProgramAll()
{
    if (host)
        return;
    SendDeviceSettings();
    for (exDMXPort* port : dmxPorts)
        ProgramPort(port);
    SendNetworkSettings();
    modified = false;
}

void exBaseNode::SendDeviceSettings()
{
    // Never a lock, time-out or option byte the device did not report.
    if (!frontPanel->state.MaySend())
        return;
    exDeviceSettings settings;
    settings.name = deviceName;
    settings.locked = locked;
    settings.displayTimeout = uint8_t(displayTimeout);
    settings.optionA = uint8_t(optionA);
    settings.optionB = uint8_t(optionB);
    std::vector<uint8_t> message = exKivnetProtocol::BuildDeviceSettings(settings);
    SendKivnet(message, network.currentIp);
    frontPanel->state.Sent();
}

void exBaseNode::ProgramPort(exDMXPort* port)
{
    // A port not read yet would go out as mode 0, universe 0: a live output switched off.
    if (!port->state.MaySend())
        return;
    std::printf("Program Port %X\n", port->portNumber);
    exPortSettings programming;
    programming.wirePort = uint8_t(port->portNumber + portBase);
    programming.mode = uint8_t(port->mode);
    programming.universeCode = port->GetUniverseCode();
    programming.portValue = port->portValue;
    std::printf(port->mode == exDMXPort::kInput ? "Fill Input\n" : "Fill Output\n");
    std::fflush(stdout);
    std::vector<uint8_t> message = exKivnetProtocol::BuildPortProgramming(programming);
    SendKivnet(message, GetTargetIp());
    port->state.Sent();
}

void exBaseNode::SendSwitchSettings() {}

void exBaseNode::HandleReply(const uint8_t* reply, size_t length)
{
    exKivnetHeader header;
    if (!exKivnetProtocol::ReadHeader(reply, length, header))
        return;
    switch (header.command) {
    case exKivnetProtocol::kDeviceSettingsRequest:
        // A refused reply changes nothing, the stage included: the device is asked again.
        if (ParseDeviceSettings(reply, length) && header.isReply && readBackStage == kDeviceStage)
            EnterStage(kPortStage);
        break;
    case exKivnetProtocol::kPortSettingsRequest: {
        // Only the answer for the port asked for moves the walk on: a slow device answers a
        // repeated request twice, and a late answer for an earlier port must not step it back.
        exPortSettings port;
        if (ParsePortSettings(reply, length, port) && header.isReply &&
            readBackStage == kPortStage && port.wirePort == readBackPort + portBase)
            AdvancePortStage(port.wirePort);
        break;
    }
    default:
        break;
    }
}

void exBaseNode::AdvancePortStage(int wirePort)
{
    const int next = wirePort - portBase + 1;
    if (next < dmxPortCount)
        EnterStage(kPortStage, next);
    else // without Art-Net no ID can come: the read-back ends with the last port
        EnterStage(exAppState::artNetOff ? kIdle : kPollStage);
}

void exBaseNode::Tick(int elapsedMs)
{
    aliveCountdown -= elapsedMs;
    if (aliveCountdown <= 0) {
        aliveCountdown = 0;
        if (connectionState != kLost && connectionState != kHosted) {
            connectionState = kLost;
            RepaintIfShown();
        }
    }
    // Time counts while the device answers; a lost one is shaded as lost instead.
    unreadMs = IsReadBack() || connectionState == kLost ? 0 : unreadMs + elapsedMs;
    if (readBackRetries <= 0) {
        readBackRetry.Advance(elapsedMs);
        return;
    }
    --readBackRetries;
    // The last try is out: when no answer moves the read-back on, it is tried again later.
    if (readBackRetries == 0)
        readBackRetry.Stalled();
    switch (readBackStage) {
    case kDeviceStage:
        RequestDeviceSettings();
        break;
    case kPortStage:
        RequestPortSettings(readBackPort);
        break;
    case kPollStage:
        if (exAppState::artNetSocket)
            exArtNetProtocol::PollDevice(*exAppState::artNetSocket, network.currentIp);
        break;
    default:
        break;
    }
}

exDMXPort* exBaseNode::GetDMXPort(int wirePort)
{
    const int index = wirePort - portBase;
    if (index < 0 || index >= int(dmxPorts.size()))
        return nullptr;
    return dmxPorts[index];
}

void exBaseNode::SetFirstPortNumber(int first)
{
    for (size_t i = 0; i < dmxPorts.size(); ++i)
        dmxPorts[i]->portNumber = first + int(i);
}

void exBaseNode::PaintTitle(wxGraphicsContext* gc)
{
    exPanelDrawing::PaintFitted(gc, title, titleBox, exPanelDrawing::SwissBold(15, displayScale),
                                *wxWHITE);
}

void exBaseNode::RepaintIfShown()
{
    // What happens to a device out of view is drawn when it comes into view.
    if (const auto* rack = dynamic_cast<const exDeviceRack*>(GetRoot()))
        if (!rack->Shows(y, height))
            return;
    SetDirty();
}

void exBaseNode::OnAlive()
{
    aliveCountdown = kAliveMs;
    if (connectionState != kHosted)
        connectionState = kOnline;
    ResumeReadBackIfDue();
}

void exBaseNode::SendNetworkSettings()
{
    if (!network.state.MaySend())
        return;
    if (exAppState::updateSocket)
        exUpdateProtocol::SendNetworkSettings(*exAppState::updateSocket, network.unitNumber,
                                              network.modelCode, network.newIp, network.newMask,
                                              network.newDhcp);
    // Replies are matched to devices by address: the rack's index must learn the new one.
    if (auto* rack = dynamic_cast<exDeviceRack*>(GetRoot());
        rack && network.currentIp != network.newIp)
        rack->DeviceIndex().AddressTaken(network.newIp);
    network.currentIp = network.newIp;
    network.currentMask = network.newMask;
    network.currentDhcp = network.newDhcp;
    network.state.Sent();
    (ethernetPort2 ? ethernetPort2 : ethernetPort1)->RebuildTexts();
}

uint32_t exBaseNode::GetTargetIp() const
{
    return host ? host->network.currentIp : network.currentIp;
}

void exBaseNode::RelayoutRack()
{
    if (const auto* rack = dynamic_cast<const exDeviceRack*>(GetRoot()))
        rack->Relayout();
}

void exBaseNode::PaintShade(wxGraphicsContext* gc)
{
    const wxColour& shade = exCanvasColours::kPressedShade;
    gc->SetBrush(wxBrush(shade));
    gc->SetPen(wxPen(shade, 1));
    gc->DrawRoundedRectangle(-4, -4, width + 8, height + 8, 3);
}

void exBaseNode::PaintOverlayText(wxGraphicsContext* gc, const wxString& text)
{
    wxFont font = exPanelDrawing::SwissBold(17, displayScale);
    exPaintFonts::Select(*gc, font, *wxWHITE);
    double textWidth = 0, textHeight = 0;
    gc->GetTextExtent(text, &textWidth, &textHeight);
    // The warning must be readable whole: a face wider than the one the drawing was laid out
    // for would push it past both edges of the device, so it is set smaller to fit.
    if (textWidth > width && textWidth > 0) {
        font.SetFractionalPointSize(font.GetFractionalPointSize() * width / textWidth);
        exPaintFonts::Select(*gc, font, *wxWHITE);
        gc->GetTextExtent(text, &textWidth, &textHeight);
    }
    gc->DrawText(text, (width - textWidth) / 2, height - 35);
}

void exBaseNode::PaintUnreachable(wxGraphicsContext* gc)
{
    if (!warningImage.IsOk())
        warningImage = wxBitmap(wxImage(warning_xpm));
    PaintShade(gc);
    gc->DrawBitmap(warningImage, (width - kWarningImageSize) / 2, -10, kWarningImageSize,
                   kWarningImageSize);
    PaintOverlayText(gc, UnreachableText());
}

wxString exBaseNode::UnreachableText() const
{
    return "Cannot reach this device (IP " + network.ipText + "). Please check your IP settings!";
}

void exBaseNode::PaintLost(wxGraphicsContext* gc)
{
    PaintShade(gc);
    PaintOverlayText(gc, "This device appears to be lost. Please check your connections!");
}
