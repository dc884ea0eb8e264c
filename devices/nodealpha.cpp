#include "devices/nodealpha.h"

#include <wx/graphics.h>

#include "common/controls/canvascolours.h"
#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "devices/paneldrawing.h"

using exPanelDrawing::Place;

namespace {
constexpr double kBoxX = 320;
constexpr double kBoxWidth = 130;
constexpr double kLabelX = 285;
} // namespace

exNodeAlpha::exNodeAlpha(exCanvasControl* parent) : exBaseNode(parent, 1)
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
}

wxSize exNodeAlpha::PaintFront(wxGraphicsContext* gc)
{
    gc->PushState();
    gc->Scale(displayScale, displayScale);
    exPanelDrawing::PaintTableTopBox(gc, kBoxX, kBoxWidth, *wxBLACK_BRUSH, wxPen(*wxBLACK, 2),
                                     "Front", kLabelX, labelFont);
    gc->SetPen(*wxBLACK_PEN);
    gc->SetBrush(*wxBLACK_BRUSH);
    gc->DrawRectangle(345, 40, 20, 20);
    PaintTitle(gc);
    gc->PopState();
    return wxSize(width, height);
}

wxSize exNodeAlpha::PaintBack(wxGraphicsContext* gc)
{
    gc->PushState();
    gc->Scale(displayScale, displayScale);
    gc->Translate(0, 75);
    exPanelDrawing::PaintTableTopBox(gc, kBoxX, kBoxWidth, *wxBLACK_BRUSH, wxPen(*wxBLACK, 2),
                                     "Back", kLabelX, labelFont);
    gc->PopState();
    return wxSize(width, height);
}

void exNodeAlpha::PaintTitle(wxGraphicsContext* gc)
{
    // White: black letters would vanish on the black box.
    gc->SetFont(exPanelDrawing::SwissBold(12, displayScale), *wxWHITE);
    gc->DrawText("Pylon", 380, 5);
    gc->DrawText("NodeAlpha", 380, 20);
}
