#include "devices/paneldrawing.h"

#include <wx/graphics.h>
#include <wx/image.h>

#include "common/controls/canvascontrol.h"
#include "common/controls/paintfonts.h"
#include "common/controls/textmeasure.h"

#include "resources/pylonlogo.xpm"

namespace exPanelDrawing {

namespace {
constexpr double kLogoWidth = 91;
constexpr double kLogoHeight = 46;
constexpr double kTableTopCorner = 5;
} // namespace

wxFont SwissBold(float designPoints, float displayScale)
{
    return SwissFont(int(designPoints / displayScale));
}

void PaintTableTopBox(wxGraphicsContext* gc, double boxX, double boxWidth, const wxBrush& brush,
                      const wxPen& pen, const wxString& label, double labelX,
                      const wxFont& labelFont)
{
    gc->SetBrush(brush);
    gc->SetPen(pen);
    gc->DrawRoundedRectangle(boxX, 0, boxWidth, 70, kTableTopCorner);
    exPaintFonts::Select(*gc, labelFont, *wxBLACK);
    gc->DrawText(label, labelX, 30);
}

void PaintLogoTitle(wxGraphicsContext* gc, const wxBitmap& logo, const wxString& title,
                    float displayScale)
{
    if (logo.IsOk())
        gc->DrawBitmap(logo, 0, -40, kLogoWidth, kLogoHeight);
    exPaintFonts::Select(*gc, SwissBold(7, displayScale), *wxWHITE);
    gc->DrawText(title, 3, 10);
}

wxBitmap LoadLogo()
{
    // Decoded once: a rig of hundreds of devices shares one picture (bitmaps share their data).
    // Never freed, so that it outlives the toolkit's own clean-up at exit.
    static const wxBitmap* logo = new wxBitmap(wxImage(pylon_logo_xpm));
    return *logo;
}

void Place(exCanvasControl* element, int designX, int designY)
{
    element->x = int(designX * element->displayScale);
    element->y = int(designY * element->displayScale);
}

} // namespace exPanelDrawing
