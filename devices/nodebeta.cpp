#include "devices/nodebeta.h"

#include <wx/graphics.h>

#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "devices/paneldrawing.h"

using exPanelDrawing::Place;

namespace {
constexpr double kBoxX = 210;
constexpr double kBoxWidth = 350;
constexpr double kLabelX = 175;
} // namespace

exNodeBeta::exNodeBeta(exCanvasControl* parent)
    : exBaseNodeTableTop(parent, 3, kBoxX, kBoxWidth, kLabelX, *wxBLACK_BRUSH, wxPen(*wxBLACK, 2))
{
    title = "Pylon NodeBeta";
    for (int i = 0; i < 3; ++i)
        Place(dmxPorts[i], 290 + 50 * i, 75);
    ethernetPort2->socketCount = 2;
    Place(ethernetPort2, 450, 75);
    panelStyle = exCanvasUIControl::kLargeDisplay;
    frontPanel->greyOutline = true;
    Place(frontPanel, 370, 15);
    // Below the middle of the box, left of the display.
    titleBox = wxRect2DDouble(212, 45, 156, 25);
}

void exNodeBeta::PaintFrontFace(wxGraphicsContext* gc)
{
    PaintTitle(gc);
}
