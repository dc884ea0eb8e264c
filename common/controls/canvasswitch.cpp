#include "common/controls/canvasswitch.h"

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#include "common/controls/paintfonts.h"
#include "common/controls/textmeasure.h"

exCanvasSwitch::exCanvasSwitch(exCanvasControl* parent, bool on, int x, int y, int width,
                               int height)
    : exCanvasControl(parent, x, y, width, height, wxEmptyString), on(on)
{
}

wxSize exCanvasSwitch::Paint(wxGraphicsContext* gc)
{
    const wxColour fill = mouseState == kHover ? hoverFill : normalFill;
    const wxColour dark = *wxBLACK;
    const wxFont font = CanvasLabelFont();
    exPaintFonts::Select(*gc, font, dark);
    if (cachedTextWidth == -1.0) {
        const exTextExtent extent = MeasureTextExtent(*gc, font, "On");
        cachedTextWidth = extent.width;
        cachedTextHeight = extent.height;
        textHeight = extent.height;
    }
    if (offTextWidth == -1.0) {
        const exTextExtent extent = MeasureTextExtent(*gc, font, "Off");
        offTextWidth = extent.width;
        textHeight = extent.height;
    }

    gc->SetBrush(*wxTRANSPARENT_BRUSH);
    gc->SetPen(wxPen(fill, 1, wxPENSTYLE_SOLID));
    gc->DrawRectangle(0, 0, width, height);

    const int half = width / 2;
    const double textY = (height - textHeight) * 0.5 + 1.0;

    gc->SetBrush(wxBrush(on ? fill : dark));
    gc->DrawRectangle(0, 0, half, height);
    exPaintFonts::Select(*gc, font, on ? dark : fill);
    gc->DrawText("On", (half - cachedTextWidth) * 0.5, textY);

    gc->SetBrush(wxBrush(on ? dark : fill));
    gc->DrawRectangle(half, 0, half, height);
    exPaintFonts::Select(*gc, font, on ? fill : dark);
    gc->DrawText("Off", half + (half - offTextWidth) * 0.5, textY);
    return wxSize(width, height);
}

bool exCanvasSwitch::OnClick(exCanvasControl* source, int, int)
{
    if (source == this)
        on = !on;
    return false;
}
