#include "devices/nodealpha.h"

#include <wx/graphics.h>

#include "common/controls/canvascolours.h"
#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "devices/paneldrawing.h"

using exPanelDrawing::Place;

exNodeAlpha::exNodeAlpha(exCanvasControl* parent)
    : exBaseNodeTableTop(parent, 1, kSmallBoxX, kSmallBoxWidth, kSmallBoxLabelX, *wxBLACK_BRUSH,
                         wxPen(*wxBLACK, 2))
{
    title = "NodeAlpha";
    portBase = 1;
    Place(dmxPorts[0], 335, 75);
    ethernetPort2->socketCount = 1;
    ethernetPort2->addressTextOffsetX = 105;
    ethernetPort2->addressTextOffsetY = 20;
    ethernetPort2->textColour = *wxBLACK;
    Place(ethernetPort2, 395, 75);
    panelStyle = exCanvasUIControl::kInfoKey;
    frontPanel->normalFill = exCanvasColours::kDarkGrey;
    Place(frontPanel, 405, 25);
    // Above the square, left of the key.
    titleBox = wxRect2DDouble(325, 3, 77, 36);
}

void exNodeAlpha::PaintFrontFace(wxGraphicsContext* gc)
{
    PaintSmallBoxFace(gc);
}

void exNodeAlpha::PaintTitle(wxGraphicsContext* gc)
{
    // White: black letters would vanish on the black box.
    PaintSmallBoxTitle(gc, *wxWHITE, "NodeAlpha");
}
