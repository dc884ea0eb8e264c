#include "devices/switchrecords.h"

#include <algorithm>

#include "common/overlay.h"
#include "devices/basenode.h"
#include "devices/canvasuicontrol.h"
#include "devices/paneldrawing.h"
#include "devices/switchport.h"
#include "dialogs/switchportdialog.h"

namespace exSwitchRecords {

exSwitchPort* AddPort(exBaseNode* device, int index, int designX, int designY)
{
    exSwitchPort* port = new exSwitchPort(device, index);
    exPanelDrawing::Place(port, designX, designY);
    device->children->Insert(device->children->Find(device->frontPanel), port);
    device->switchPorts.push_back(port);
    device->switchPortCount = int(device->switchPorts.size());
    return port;
}

void RemovePorts(exBaseNode* device)
{
    // A switch port dialog open on one of the ports would point at a deleted port: it closes
    // first (a switch that reports another port count rebuilds its ports).
    exCanvasControl* root = device->GetRoot();
    if (auto* dialog = dynamic_cast<exSwitchPortDialog*>(root->overlay))
        if (dialog->device == device)
            exOverlay::Dismiss(root);
    for (exSwitchPort* port : device->switchPorts) {
        device->children->DeleteObject(port);
        delete port;
    }
    device->switchPorts.clear();
    device->switchPortCount = 0;
}

void TakeSettings(exBaseNode* device, const exSwitchSettings& settings)
{
    // Values edited but not yet sent are the user's: a late or repeated reply does not undo
    // them.
    if (device->frontPanel->state.TakesReplies()) {
        device->deviceName = settings.name;
        device->locked = settings.locked;
        device->displayTimeout = settings.displayTimeout;
        device->frontPanel->state.Read();
    }
    device->displayLine2 = settings.displayLine2;
    const size_t count = std::min(settings.ports.size(), device->switchPorts.size());
    for (size_t i = 0; i < count; ++i) {
        exSwitchPort* port = device->switchPorts[i];
        if (!port->state.TakesReplies())
            continue;
        port->SetFromWire(settings.ports[i].mode, settings.ports[i].value, settings.ports[i].speed);
        port->state.Read();
    }
}

exSwitchSettings CollectForSending(exBaseNode* device)
{
    device->modified = false;
    device->frontPanel->state.Sent();
    exSwitchSettings settings;
    settings.name = device->deviceName;
    settings.locked = device->locked;
    settings.displayTimeout = uint16_t(device->displayTimeout);
    settings.recordCount = uint8_t(device->switchPortCount);
    for (exSwitchPort* port : device->switchPorts) {
        exSwitchPortRecord record;
        record.index = port->portIndex;
        record.mode = uint8_t(port->mode);
        record.speed = uint8_t(port->speed);
        record.value = uint16_t(port->GetWireValue());
        settings.ports.push_back(record);
        port->state.Sent();
    }
    return settings;
}

} // namespace exSwitchRecords
