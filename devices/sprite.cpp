#include "devices/sprite.h"

#include <wx/graphics.h>

#include "common/controls/canvascolours.h"
#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "devices/paneldrawing.h"

using exPanelDrawing::Place;

exSprite::exSprite(exCanvasControl* parent)
    : exBaseNodeTableTop(parent, 2, kSmallBoxX, kSmallBoxWidth, kSmallBoxLabelX,
                         wxBrush(exCanvasColours::kBoxFill), wxPen(exCanvasColours::kBoxEdge, 1))
{
    title = "Sprite";
    Place(dmxPorts[0], 335, 75);
    Place(dmxPorts[1], 395, 75);
    ethernetPort1->socketCount = 1;
    ethernetPort1->circularHousing = false;
    ethernetPort1->addressTextOffsetX = 105;
    ethernetPort1->addressTextOffsetY = 20;
    ethernetPort1->textColour = *wxBLACK;
    Place(ethernetPort1, 395, 0);
    panelStyle = exCanvasUIControl::kInfoKey;
    frontPanel->normalFill = *wxBLACK;
    Place(frontPanel, 345, 5);
    // Right of the key and the square, above the socket.
    titleBox = wxRect2DDouble(380, 3, 67, 36);
}

void exSprite::PaintFrontFace(wxGraphicsContext* gc)
{
    PaintSmallBoxFace(gc);
}

void exSprite::PaintTitle(wxGraphicsContext* gc)
{
    PaintSmallBoxTitle(gc, *wxBLACK, "Sprite");
}
