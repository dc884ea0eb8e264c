#include "devices/nodegamma.h"

#include <wx/graphics.h>

#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "devices/paneldrawing.h"

using exPanelDrawing::Place;

exNodeGamma::exNodeGamma(exCanvasControl* parent) : exBaseNode19Inch(parent, 6)
{
    title = "Pylon NodeGamma";
    for (int i = 0; i < 6; ++i)
        Place(dmxPorts[i], 265 + 40 * i, 0);
    ethernetPort1->socketCount = 3;
    Place(ethernetPort1, 130, 0);
    ethernetPort2->socketCount = 2;
    ethernetPort2->circularHousing = false;
    Place(ethernetPort2, 300, 75);
    panelStyle = exCanvasUIControl::kLargeDisplay;
    Place(frontPanel, 520, 15);
    // Two lines between the rack ear and the sockets.
    titleBox = wxRect2DDouble(40, 19, 88, 51);
}

void exNodeGamma::PaintTitle(wxGraphicsContext* gc)
{
    exPanelDrawing::PaintFittedLines(gc, {"Pylon", "NodeGamma"}, 25, titleBox,
                                     exPanelDrawing::SwissBold(16, displayScale), *wxWHITE,
                                     wxALIGN_LEFT | wxALIGN_CENTRE_VERTICAL);
}
