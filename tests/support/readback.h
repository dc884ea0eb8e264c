#pragma once

#include "devices/basenode.h"
#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/switchport.h"

// A device as discovery and a finished read-back leave it: every setting read from the device.
inline void MarkReadBack(exBaseNode& device)
{
    device.network.state.Read();
    device.frontPanel->state.Read();
    for (exDMXPort* port : device.dmxPorts)
        port->state.Read();
    for (exSwitchPort* port : device.switchPorts)
        port->state.Read();
    device.EnterStage(exBaseNode::kIdle);
}
