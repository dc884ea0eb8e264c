#include "devices/switchiota.h"

#include "common/controls/canvascolours.h"
#include "devices/canvasuicontrol.h"
#include "devices/paneldrawing.h"
#include "devices/switchport.h"

exSwitchIota::exSwitchIota(exCanvasControl* parent) : exSwitchTheta(parent)
{
    title = "Pylon SwitchIota";
    panelStyle = exCanvasUIControl::kInfoKey;
    exPanelDrawing::Place(frontPanel, 700, 25);
    frontPanel->normalFill = exCanvasColours::kDarkGrey;
    for (exSwitchPort* port : switchPorts) {
        port->hasSfp = false;
        port->trunkCapable = false;
        port->speedSelectable = false;
    }
}
