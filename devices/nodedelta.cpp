#include "devices/nodedelta.h"

#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "devices/paneldrawing.h"

using exPanelDrawing::Place;

exNodeDelta::exNodeDelta(exCanvasControl* parent) : exBaseNode19Inch(parent, 10)
{
    title = "Pylon NodeDelta";
    for (int i = 0; i < 10; ++i)
        Place(dmxPorts[i], 685 - 50 * i, 75);
    ethernetPort2->socketCount = 1;
    Place(ethernetPort2, 100, 75);
    panelStyle = exCanvasUIControl::kKeys;
    Place(frontPanel, 400, 15);
    // Ports 9 and 10 cannot output DMX.
    dmxPorts[8]->optionFlag = true;
    dmxPorts[9]->optionFlag = true;
}
