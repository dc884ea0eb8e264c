#pragma once

#include <wx/brush.h>
#include <wx/colour.h>
#include <wx/pen.h>
#include <wx/string.h>

#include "devices/basenode.h"

// A table-top unit: one rounded box seen from the front and from the back, each face with its
// "Front" or "Back" label beside it.
class exBaseNodeTableTop : public exBaseNode {
public:
    wxSize PaintFront(wxGraphicsContext* gc) override;
    wxSize PaintBack(wxGraphicsContext* gc) override;

protected:
    // The small box that carries the square and the two-line title, in design units.
    static constexpr double kSmallBoxX = 320;
    static constexpr double kSmallBoxWidth = 130;
    static constexpr double kSmallBoxLabelX = 285;

    // The box's left edge, its width and the labels' left edge, in design units.
    exBaseNodeTableTop(exCanvasControl* parent, int dmxPortCount, double boxX, double boxWidth,
                       double labelX, const wxBrush& boxBrush, const wxPen& boxPen);

    // What the front face shows inside the box, in design units.
    virtual void PaintFrontFace(wxGraphicsContext* gc) = 0;

    // The front face of the small box: its black square and the title.
    void PaintSmallBoxFace(wxGraphicsContext* gc);
    // The small box's title: the maker's name above `name`, in the title box.
    void PaintSmallBoxTitle(wxGraphicsContext* gc, const wxColour& colour, const wxString& name);

private:
    void PaintBox(wxGraphicsContext* gc, const wxString& label);

    double boxX;
    double boxWidth;
    double labelX;
    wxBrush boxBrush;
    wxPen boxPen;
};
