#include "common/controls/paintfonts.h"

#include <wx/graphics.h>

exPaintFonts::exPaintFonts(wxGraphicsContext& gc)
    : outerContext(paintContext), outerResolution(paintResolution)
{
    gc.GetDPI(&paintResolution.x, &paintResolution.y);
    paintContext = &gc;
}

exPaintFonts::~exPaintFonts()
{
    paintContext = outerContext;
    paintResolution = outerResolution;
}

void exPaintFonts::Select(wxGraphicsContext& gc, const wxFont& font, const wxColour& colour)
{
    if (&gc == paintContext)
        gc.SetFont(gc.GetRenderer()->CreateFontAtDPI(font, paintResolution, colour));
    else
        gc.SetFont(font, colour);
}
