#include "devices/nodeepsilon.h"

#include "devices/canvasuicontrol.h"
#include "devices/paneldrawing.h"

using exPanelDrawing::Place;

exNodeEpsilon::exNodeEpsilon(exCanvasControl* parent) : exBaseNode19Inch(parent, 8)
{
    title = "Pylon NodeEpsilon";
    PlaceBackRow(2);
    panelStyle = exCanvasUIControl::kLargeDisplay;
    Place(frontPanel, 520, 15);
}
