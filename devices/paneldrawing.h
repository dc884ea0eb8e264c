#pragma once

#include <wx/bitmap.h>
#include <wx/brush.h>
#include <wx/font.h>
#include <wx/pen.h>
#include <wx/string.h>

class wxGraphicsContext;
class exBaseNode;
class exCanvasControl;

// Drawing and layout pieces that several device models share. Geometry is in design units; the
// caller has already scaled the context.
namespace exPanelDrawing {

// Swiss bold at the point size the device drawings use for a design size.
wxFont SwissBold(float designPoints, float displayScale);

// The one box of a table-top unit's panel, with its "Front" or "Back" label beside it.
void PaintTableTopBox(wxGraphicsContext* gc, double boxX, double boxWidth, const wxBrush& brush,
                      const wxPen& pen, const wxString& label, double labelX,
                      const wxFont& labelFont);

// The maker's logo above the model's title, relative to the title origin of a 19-inch unit.
void PaintLogoTitle(wxGraphicsContext* gc, const wxBitmap& logo, const wxString& title,
                    float displayScale);

// The maker's logo as the models with a logo draw it.
wxBitmap LoadLogo();

// Places a child element at a design position of its device.
void Place(exCanvasControl* element, int designX, int designY);

} // namespace exPanelDrawing
