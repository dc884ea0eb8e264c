#include "dialogharness.h"

#include <functional>

#include "common/appstate.h"
#include "common/controls/canvascontrol.h"
#include "devices/basenode.h"
#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "devices/switchport.h"
#include "dialogs/dmxportdialog.h"
#include "dialogs/ethernetportdialog.h"
#include "dialogs/globalsettingsdialog.h"
#include "dialogs/messagedialog.h"
#include "dialogs/switchportdialog.h"
#include "fuzzinput.h"
#include "fuzzrack.h"
#include "sentmessagecheck.h"
#include "simulatedrig.h"

namespace {

enum Step { kClick, kType, kAnswer, kTicks, kOk, kStepCount };

// Characters a keyboard gives: digits, hex letters, separators, editing and control keys, and
// letters outside ASCII of two, three and four bytes in UTF-8.
const wxChar kTyped[] = {'0', '1', '2', '3', '4', '5', '6', '7',  '8',    '9',    'a',
                         'b', 'c', 'd', 'e', 'f', 'A', 'F', 'x',  'Z',    '.',    '-',
                         ' ', 8,   127, 9,   13,  27,  0,   0xFC, 0x20AC, 0x1F600};

wxChar Typed(FuzzInput& input)
{
    const uint8_t pick = input.U8();
    if (pick < 0xF0)
        return kTyped[pick % (sizeof(kTyped) / sizeof(kTyped[0]))];
    // Any other character of the Basic Multilingual Plane but the surrogate halves, which no
    // keyboard delivers.
    const wxChar any = input.U16();
    return any >= 0xD800 && any <= 0xDFFF ? wxChar(' ') : any;
}

void Flatten(exCanvasControl* control, std::vector<exCanvasControl*>& controls)
{
    if (control->hidden)
        return;
    controls.push_back(control);
    for (exCanvasControl* child : *control->children)
        Flatten(child, controls);
}

wxMouseEvent MouseAt(wxEventType type, int x, int y)
{
    wxMouseEvent event(type);
    event.SetPosition(wxPoint(x, y));
    event.SetLeftDown(type == wxEVT_LEFT_DOWN);
    return event;
}

} // namespace

std::string DialogHarness::Run(const uint8_t* data, size_t size)
{
    SimulatedRig rig(rack);
    rack.Root()->clientWidth = 1000;
    rack.Root()->clientHeight = 700;
    FuzzInput input(data, size);
    const Kind kind = Kind(input.U8() % kKindCount);
    // One device of a model that has the dialog's element, alone on the network.
    std::vector<sim::Device> fitting;
    for (const sim::Device& device : rig.devices)
        if ((kind == kSwitchPort) == device.IsSwitch() || kind == kNetwork ||
            kind == kDeviceSettings)
            fitting.push_back(device);
    rig.devices = {fitting[input.U8() % fitting.size()]};
    exAppState::autoSend = input.U8() < 0xE0 ? 1 : 0;
    rig.DiscoverAll();
    rig.Settle(300);

    exBaseNode* device = rack.Devices().front();
    exCanvasControl* element = nullptr;
    exCanvasControl* dialog = Open(kind, device, input, element);
    if (!dialog)
        return "no dialog opened";
    // A setting not read yet opens no dialog but says so; only a read one opens.
    const auto* owner = static_cast<const exBaseNode*>(element->parent);
    if (dynamic_cast<exMessageDialog*>(dialog))
        return owner->MayEdit(element) ? "a setting read opened a message" : std::string();
    if (!owner->MayEdit(element))
        return "a setting not read opened its dialog";
    kivnetAtOpen = rack.kivnet.sent.size();
    updateAtOpen = rack.update.sent.size();
    Shown shown = Capture(kind, dialog);
    while (!input.Empty() && rack.Root()->overlay == dialog) {
        shown = Capture(kind, dialog);
        if (!Step(dialog, input, rig))
            break;
    }
    if (rack.Root()->overlay == dialog) {
        shown = Capture(kind, dialog);
        // Every dialog's "OK" is the drawn button of that label.
        std::vector<exCanvasControl*> controls;
        Flatten(dialog, controls);
        for (exCanvasControl* ok : controls)
            if (ok->label == "OK") {
                Press(ok, ok->width / 2, ok->height / 2);
                break;
            }
    }
    if (rack.Root()->overlay == dialog)
        return "\"OK\" left the dialog open";
    // The device was read again while its dialog was open (it had been away): the edit waits,
    // drawn red, until every setting its message carries has been read; nothing goes out.
    if (!owner->MayEdit(element)) {
        for (size_t i = kivnetAtOpen; i < rack.kivnet.sent.size(); ++i)
            if (SentMessageCheck::KivnetCode(rack.kivnet.sent[i].bytes) == 0x0040)
                return "switch settings were sent while the switch was not read back";
        return std::string();
    }
    // "Update" of the control bar, when the edit waited for it.
    for (exBaseNode* each : rack.Devices())
        if (each->modified)
            each->ProgramAll();
    return CheckSent(kind, shown, device);
}

exCanvasControl* DialogHarness::Open(Kind kind, exBaseNode* device, FuzzInput& input,
                                     exCanvasControl*& element)
{
    element = nullptr;
    switch (kind) {
    case kDmxPort: {
        // A module's ports too: they are in the rack below their host. A port a module's bay
        // does not have is not drawn and cannot be clicked.
        std::vector<exDMXPort*> ports;
        for (exBaseNode* each : rack.Devices())
            for (exDMXPort* port : each->dmxPorts)
                if (!port->hidden)
                    ports.push_back(port);
        if (!ports.empty())
            element = ports[input.U8() % ports.size()];
        break;
    }
    case kNetwork:
        element = device->ethernetPort1;
        break;
    case kDeviceSettings:
        element = device->frontPanel;
        break;
    default:
        if (!device->switchPorts.empty())
            element = device->switchPorts[input.U8() % device->switchPorts.size()];
        break;
    }
    if (!element)
        return nullptr;
    element->OnClick(element, 0, 0);
    return rack.Root()->overlay;
}

DialogHarness::Shown DialogHarness::Capture(Kind kind, exCanvasControl* dialog) const
{
    Shown shown;
    if (kind == kDmxPort) {
        const auto* d = static_cast<exDMXPortDialog*>(dialog);
        shown.mode = d->pendingMode;
        shown.protocol = d->pendingProtocol;
        shown.universe = d->pendingUniverse;
        // A Shownet universe 0 cannot travel (its word would read as "not set"): "OK" sends the
        // smallest one that can, 1.
        if (shown.protocol == 2 && shown.universe == 0)
            shown.universe = 1;
    } else if (kind == kNetwork) {
        const auto* d = static_cast<exEthernetPortDialog*>(dialog);
        shown.ip = d->pendingIp;
        shown.mask = d->pendingMask;
        shown.dhcp = d->pendingDhcp;
    } else if (kind == kDeviceSettings) {
        const auto* d = static_cast<exGlobalSettingsDialog*>(dialog);
        shown.name = d->pendingName;
        shown.locked = d->pendingLocked;
        shown.timeout = d->pendingTimeout;
    } else {
        const auto* d = static_cast<exSwitchPortDialog*>(dialog);
        shown.mode = d->pendingMode;
        shown.value =
            d->pendingMode == exSwitchPort::kTrunkOrLoop ? d->pendingPartner : d->pendingVlan;
        shown.switchIndex = d->port->portIndex;
        // A port cannot loop with itself: "OK" makes a port that names itself a trunk.
        if (shown.mode == exSwitchPort::kTrunkOrLoop && shown.value == shown.switchIndex + 1)
            shown.value = 0;
    }
    return shown;
}

bool DialogHarness::Step(exCanvasControl* dialog, FuzzInput& input, SimulatedRig& rig)
{
    switch (input.U8() % kStepCount) {
    case kClick: {
        std::vector<exCanvasControl*> controls;
        Flatten(dialog, controls);
        exCanvasControl* control = controls[input.U8() % controls.size()];
        const int dx = input.U8() % std::max(1, control->width);
        const int dy = input.U8() % std::max(1, control->height);
        Press(control, dx, dy);
        break;
    }
    case kType:
        rack.Root()->OnChar(Typed(input));
        break;
    case kAnswer:
        rig.AnswerOrTick();
        break;
    case kTicks:
        rack.Tick(1 + input.U8() % 32);
        break;
    default:
        return false;
    }
    return true;
}

void DialogHarness::Press(exCanvasControl* control, int dx, int dy)
{
    exCanvasControl* root = rack.Root();
    int x = dx, y = dy;
    for (exCanvasControl* c = control; c && c != root; c = c->parent) {
        x += c->x;
        y += c->y;
    }
    if (root->overlay)
        root->overlay->RouteMouse(MouseAt(wxEVT_LEFT_DOWN, x, y));
    if (root->overlay)
        root->overlay->RouteMouse(MouseAt(wxEVT_LEFT_UP, x, y));
}

std::string DialogHarness::CheckSent(Kind kind, const Shown& shown, exBaseNode* device) const
{
    if (kind == kDmxPort && !SentMessageCheck::UniverseInRange(shown.protocol, shown.universe))
        return "the dialog holds universe " + std::to_string(shown.universe) + " for protocol " +
               std::to_string(shown.protocol);
    bool carried = false;
    for (size_t i = kivnetAtOpen; i < rack.kivnet.sent.size(); ++i) {
        const std::vector<uint8_t>& bytes = rack.kivnet.sent[i].bytes;
        std::string problem;
        switch (SentMessageCheck::KivnetCode(bytes)) {
        case 0x0030:
            problem = SentMessageCheck::PortProgramming(bytes);
            if (problem.empty() && kind == kDmxPort &&
                SentMessageCheck::PortProgramming(
                    bytes, shown.mode,
                    SentMessageCheck::UniverseCode(shown.protocol, shown.universe))
                    .empty())
                carried = true;
            break;
        case 0x0020:
            problem = SentMessageCheck::DeviceSettings(
                bytes, kind == kDeviceSettings ? &shown.name : nullptr, shown.locked,
                shown.timeout);
            carried = carried || kind == kDeviceSettings;
            break;
        case 0x0040:
            problem = SentMessageCheck::SwitchSettings(
                bytes, kind == kDeviceSettings ? &shown.name : nullptr, shown.locked,
                shown.timeout);
            if (problem.empty() && kind == kSwitchPort)
                problem = SentMessageCheck::SwitchRecord(bytes, shown.switchIndex, shown.mode,
                                                         shown.value);
            carried = carried || kind == kDeviceSettings || kind == kSwitchPort;
            break;
        default:
            break; // requests of the read-back
        }
        if (!problem.empty())
            return problem;
    }
    for (size_t i = updateAtOpen; i < rack.update.sent.size(); ++i) {
        const std::vector<uint8_t>& bytes = rack.update.sent[i].bytes;
        if (SentMessageCheck::UpdateCode(bytes) != 0x0088)
            continue;
        const std::string problem = SentMessageCheck::NetworkSettings(
            bytes, device->network.unitNumber, device->network.modelCode, shown.ip, shown.mask,
            shown.dhcp);
        if (kind == kNetwork && !problem.empty())
            return problem;
        carried = carried || kind == kNetwork;
    }
    if (!carried)
        return "\"OK\" sent nothing of what the dialog showed";
    return {};
}
