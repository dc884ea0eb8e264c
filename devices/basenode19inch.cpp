#include "devices/basenode19inch.h"

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#include "common/controls/canvascolours.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "devices/paneldrawing.h"

namespace {
// The label on the left rack ear, up to the panel.
const wxRect2DDouble kFrontLabelBox(4, 30, 31, 15);
const wxRect2DDouble kBackLabelBox(4, 105, 31, 15);
} // namespace

exBaseNode19Inch::exBaseNode19Inch(exCanvasControl* parent, int dmxPortCount)
    : exBaseNode(parent, dmxPortCount)
{
    // Right of the ear, as far as the models with front elements leave free.
    titleBox = wxRect2DDouble(40, 45, 355, 25);
}

void exBaseNode19Inch::PlaceBackRow(int socketCount)
{
    for (int i = 0; i < dmxPortCount; ++i)
        exPanelDrawing::Place(dmxPorts[size_t(i)], 685 - 50 * i, 75);
    ethernetPort2->socketCount = socketCount;
    exPanelDrawing::Place(ethernetPort2, 100, 75);
}

void exBaseNode19Inch::PaintBody(wxGraphicsContext* gc, bool front)
{
    gc->SetPen(*wxBLACK_PEN);
    gc->SetBrush(*wxBLACK_BRUSH);
    if (front)
        gc->DrawRectangle(0, 0, 770, 70);
    gc->DrawRectangle(35, 0, 700, 70);
    if (!front)
        return;
    gc->SetPen(wxPen(exCanvasColours::kDarkGrey));
    gc->SetBrush(wxBrush(exCanvasColours::kDarkGrey));
    const wxPoint slots[] = {{5, 8}, {5, 52}, {745, 8}, {745, 52}};
    for (const wxPoint& slot : slots)
        gc->DrawRoundedRectangle(slot.x, slot.y, 20, 10, 4);
}

wxSize exBaseNode19Inch::PaintFront(wxGraphicsContext* gc)
{
    gc->PushState();
    gc->Scale(displayScale, displayScale);
    PaintBody(gc, true);
    exPanelDrawing::PaintFitted(gc, "Front", kFrontLabelBox, labelFont, exCanvasColours::kDarkGrey);
    exPanelDrawing::PaintLogo(gc, logo);
    PaintTitle(gc);
    gc->PopState();
    return wxSize(width, height);
}

wxSize exBaseNode19Inch::PaintBack(wxGraphicsContext* gc)
{
    gc->PushState();
    gc->Scale(displayScale, displayScale);
    gc->Translate(0, 75);
    PaintBody(gc, false);
    gc->PopState();
    gc->PushState();
    gc->Scale(displayScale, displayScale);
    exPanelDrawing::PaintFitted(gc, "Back", kBackLabelBox, labelFont, *wxBLACK);
    gc->PopState();
    return wxSize(width, height);
}
