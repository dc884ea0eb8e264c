#include "devices/sprite.h"

#include <wx/graphics.h>

#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "devices/paneldrawing.h"

using exPanelDrawing::Place;

namespace {
const wxColour kBoxFill(200, 200, 200);
const wxColour kBoxEdge(170, 170, 170);
constexpr double kBoxX = 320;
constexpr double kBoxWidth = 130;
constexpr double kLabelX = 285;
} // namespace

exSprite::exSprite(exCanvasControl* parent) : exBaseNode(parent, 2)
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
}

wxSize exSprite::PaintFront(wxGraphicsContext* gc)
{
    gc->PushState();
    gc->Scale(displayScale, displayScale);
    exPanelDrawing::PaintTableTopBox(gc, kBoxX, kBoxWidth, wxBrush(kBoxFill), wxPen(kBoxEdge, 1),
                                     "Front", kLabelX, labelFont);
    gc->SetPen(*wxBLACK_PEN);
    gc->SetBrush(*wxBLACK_BRUSH);
    gc->DrawRectangle(345, 40, 20, 20);
    PaintTitle(gc);
    gc->PopState();
    return wxSize(width, height);
}

wxSize exSprite::PaintBack(wxGraphicsContext* gc)
{
    gc->PushState();
    gc->Scale(displayScale, displayScale);
    gc->Translate(0, 75);
    exPanelDrawing::PaintTableTopBox(gc, kBoxX, kBoxWidth, wxBrush(kBoxFill), wxPen(kBoxEdge, 1),
                                     "Back", kLabelX, labelFont);
    gc->PopState();
    return wxSize(width, height);
}

void exSprite::PaintTitle(wxGraphicsContext* gc)
{
    gc->SetFont(exPanelDrawing::SwissBold(12, displayScale), *wxBLACK);
    gc->DrawText("Pylon", 380, 5);
    gc->DrawText("Sprite", 380, 20);
}
