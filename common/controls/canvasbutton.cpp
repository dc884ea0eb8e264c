#include "common/controls/canvasbutton.h"

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#include "common/controls/canvascolours.h"
#include "common/controls/paintfonts.h"
#include "common/controls/textmeasure.h"

exCanvasButton::exCanvasButton(exCanvasControl* parent, int x, int y, int width, int height,
                               const wxString& label)
    : exCanvasControl(parent, x, y, width, height, label)
{
}

wxSize exCanvasButton::Paint(wxGraphicsContext* gc)
{
    const wxColour main = enabled ? exCanvasColours::kLightGrey : exCanvasColours::kDarkGrey;
    const wxFont font = CanvasLabelFont();
    if (labelWidth == -1.0) {
        exPaintFonts::Select(*gc, font, *wxBLACK);
        const exTextExtent extent = MeasureTextExtent(*gc, font, label);
        labelWidth = extent.width;
        labelHeight = extent.height;
    }
    const bool pressed = mouseState == kPressed;
    gc->SetPen(wxPen(main, 1, wxPENSTYLE_SOLID));
    gc->SetBrush(pressed ? *wxBLACK_BRUSH : wxBrush(main));
    gc->DrawRectangle(0, 0, width, height);
    exPaintFonts::Select(*gc, font, pressed ? main : *wxBLACK);
    gc->DrawText(label, (width - labelWidth) * 0.5, (height - labelHeight) * 0.5 + 1.0);
    return wxSize(width, height);
}
