#pragma once

#include <vector>

#include <wx/bitmap.h>
#include <wx/brush.h>
#include <wx/colour.h>
#include <wx/defs.h>
#include <wx/font.h>
#include <wx/geometry.h>
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

// A fitted text is set no smaller than this share of the size it was drawn for, unless told.
constexpr double kSmallestShare = 0.6;

// Lines of text as they fit a box: the font they are set in, the lines as drawn (a line too wide
// even at the smallest size is cut and ends in an ellipsis), the distance from one line's top to
// the next, the widest line's width and the height from the first line's top to the last line's
// bottom, all in the context's units.
struct exFittedText {
    wxFont font;
    std::vector<wxString> lines;
    double lineStep = 0;
    double width = 0;
    double height = 0;
};

// Sets `lines` in `font`, `lineStep` apart, or, where the widest would be wider than `boxWidth`
// or all of them taller than `boxHeight`, in the largest smaller size (in quarter points, lines
// closer in proportion) at which they fit, down to `smallestShare` of the size. Measured on `gc`
// as the program measures texts; leaves the font selected in `gc`, in `colour`.
exFittedText FitText(wxGraphicsContext& gc, const std::vector<wxString>& lines, const wxFont& font,
                     const wxColour& colour, double boxWidth, double boxHeight, double lineStep = 0,
                     double smallestShare = kSmallestShare);

// Draws `lines` fitted into `box` (FitText), `lineStep` apart at `font`'s size. `align` places
// them in the box: wxALIGN_LEFT or wxALIGN_CENTRE_HORIZONTAL (each line), with wxALIGN_TOP or
// wxALIGN_CENTRE_VERTICAL (the lines together).
void PaintFittedLines(wxGraphicsContext* gc, const std::vector<wxString>& lines, double lineStep,
                      const wxRect2DDouble& box, const wxFont& font, const wxColour& colour,
                      int align = wxALIGN_LEFT | wxALIGN_TOP,
                      double smallestShare = kSmallestShare);

// Draws one line of text fitted into `box`, as PaintFittedLines does.
void PaintFitted(wxGraphicsContext* gc, const wxString& text, const wxRect2DDouble& box,
                 const wxFont& font, const wxColour& colour, int align = wxALIGN_LEFT | wxALIGN_TOP,
                 double smallestShare = kSmallestShare);

// The one box of a table-top unit's panel, with its "Front" or "Back" label beside it.
void PaintTableTopBox(wxGraphicsContext* gc, double boxX, double boxWidth, const wxBrush& brush,
                      const wxPen& pen, const wxString& label, double labelX,
                      const wxFont& labelFont);

// Where the models with the maker's logo give their title room: below the logo, left of the
// first port.
wxRect2DDouble LogoTitleBox();

// The maker's logo at the left of a 19-inch unit's front.
void PaintLogo(wxGraphicsContext* gc, const wxBitmap& logo);

// The title of a model with the logo, in `titleBox` below it.
void PaintLogoTitle(wxGraphicsContext* gc, const wxString& title, const wxRect2DDouble& titleBox,
                    float displayScale);

// The maker's logo as the models with a logo draw it.
wxBitmap LoadLogo();

// Places a child element at a design position of its device.
void Place(exCanvasControl* element, int designX, int designY);

} // namespace exPanelDrawing
