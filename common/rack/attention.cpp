#include "common/rack/attention.h"

#include <algorithm>

#include "devices/basenode.h"
#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/switchport.h"
#include "discovery/localadapters.h"

bool exAttention::Needs(const exBaseNode& device)
{
    return device.connectionState == exBaseNode::kLost || !IsReachable(device.GetTargetIp()) ||
           HoldsUnsentValues(device) || device.ReadBackOverdue();
}

bool exAttention::HoldsUnsentValues(const exBaseNode& device)
{
    // The device's own mark stays set after a change sent at once; what is still unsent is what
    // its elements draw in red.
    if (!device.modified)
        return false;
    const auto red = [](const auto* element) { return element->state.IsEdited(); };
    return device.frontPanel->state.IsEdited() || device.network.state.IsEdited() ||
           std::any_of(device.dmxPorts.begin(), device.dmxPorts.end(), red) ||
           std::any_of(device.switchPorts.begin(), device.switchPorts.end(), red);
}

exBaseNode* exAttention::Next(const std::vector<exBaseNode*>& devices, const exBaseNode* from,
                              int direction)
{
    const int count = int(devices.size());
    const auto at = std::find(devices.begin(), devices.end(), from);
    // Not in the rack: start just outside it, so the first step lands on its first (last) one.
    int index = at != devices.end() ? int(at - devices.begin()) : (direction > 0 ? -1 : count);
    for (int step = 0; step < count; ++step) {
        index = ((index + direction) % count + count) % count;
        if (Needs(*devices[size_t(index)]))
            return devices[size_t(index)];
    }
    return nullptr;
}
