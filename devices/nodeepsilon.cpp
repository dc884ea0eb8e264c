#include "devices/nodeepsilon.h"

#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "devices/paneldrawing.h"

using exPanelDrawing::Place;

exNodeEpsilon::exNodeEpsilon(exCanvasControl* parent) : exBaseNode19Inch(parent, 8)
{
    title = "Pylon NodeEpsilon";
    for (int i = 0; i < 8; ++i)
        Place(dmxPorts[i], 685 - 50 * i, 75);
    ethernetPort2->socketCount = 2;
    Place(ethernetPort2, 100, 75);
    panelStyle = exCanvasUIControl::kLargeDisplay;
    Place(frontPanel, 520, 15);
}
