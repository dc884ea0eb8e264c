#include "devices/basenodetabletop.h"

#include <wx/graphics.h>

#include "devices/paneldrawing.h"

exBaseNodeTableTop::exBaseNodeTableTop(exCanvasControl* parent, int dmxPortCount, double boxX,
                                       double boxWidth, double labelX, const wxBrush& boxBrush,
                                       const wxPen& boxPen)
    : exBaseNode(parent, dmxPortCount), boxX(boxX), boxWidth(boxWidth), labelX(labelX),
      boxBrush(boxBrush), boxPen(boxPen)
{
}

void exBaseNodeTableTop::PaintBox(wxGraphicsContext* gc, const wxString& label)
{
    exPanelDrawing::PaintTableTopBox(gc, boxX, boxWidth, boxBrush, boxPen, label, labelX,
                                     labelFont);
}

wxSize exBaseNodeTableTop::PaintFront(wxGraphicsContext* gc)
{
    gc->PushState();
    gc->Scale(displayScale, displayScale);
    PaintBox(gc, "Front");
    PaintFrontFace(gc);
    gc->PopState();
    return wxSize(width, height);
}

wxSize exBaseNodeTableTop::PaintBack(wxGraphicsContext* gc)
{
    gc->PushState();
    gc->Scale(displayScale, displayScale);
    gc->Translate(0, 75);
    PaintBox(gc, "Back");
    gc->PopState();
    return wxSize(width, height);
}

void exBaseNodeTableTop::PaintSmallBoxFace(wxGraphicsContext* gc)
{
    gc->SetPen(*wxBLACK_PEN);
    gc->SetBrush(*wxBLACK_BRUSH);
    gc->DrawRectangle(345, 40, 20, 20);
    PaintTitle(gc);
}

void exBaseNodeTableTop::PaintSmallBoxTitle(wxGraphicsContext* gc, const wxColour& colour,
                                            const wxString& name)
{
    exPanelDrawing::PaintFittedLines(gc, {"Pylon", name}, 15, titleBox,
                                     exPanelDrawing::SwissBold(12, displayScale), colour,
                                     wxALIGN_LEFT | wxALIGN_CENTRE_VERTICAL);
}
