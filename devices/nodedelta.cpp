#include "devices/nodedelta.h"

#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/paneldrawing.h"

using exPanelDrawing::Place;

exNodeDelta::exNodeDelta(exCanvasControl* parent) : exBaseNode19Inch(parent, 10)
{
    title = "Pylon NodeDelta";
    PlaceBackRow(1);
    panelStyle = exCanvasUIControl::kKeys;
    Place(frontPanel, 400, 15);
    // Ports 9 and 10 cannot output DMX.
    dmxPorts[8]->optionFlag = true;
    dmxPorts[9]->optionFlag = true;
}
