#include "devices/paneldrawing.h"

#include <algorithm>
#include <cmath>

#include <wx/graphics.h>
#include <wx/image.h>

#include "common/controls/canvascontrol.h"
#include "common/controls/paintfonts.h"
#include "common/controls/textmeasure.h"

#include "resources/pylonlogo.xpm"

namespace exPanelDrawing {

namespace {
constexpr double kLogoX = 40;
constexpr double kLogoY = 5;
constexpr double kLogoWidth = 91;
constexpr double kLogoHeight = 46;
constexpr double kTableTopCorner = 5;
constexpr double kTableTopLabelY = 30;
constexpr double kLabelHeight = 15;
// Between a table-top label and its box.
constexpr double kLabelGap = 2;
constexpr double kStepsPerPoint = 4;
// Extents and boxes are sums of fractions: a text that fits exactly must not count as wider.
constexpr double kSlack = 1e-6;

struct Extent {
    double width = 0;
    double height = 0;
};

// The widest of `lines` and the height of all of them, `step` apart, in `font`.
Extent MeasureLines(wxGraphicsContext& gc, const std::vector<wxString>& lines, const wxFont& font,
                    const wxColour& colour, double step)
{
    exPaintFonts::Select(gc, font, colour);
    Extent extent;
    double lineHeight = 0;
    for (const wxString& line : lines) {
        const exTextExtent measured = MeasureTextExtent(gc, font, line);
        extent.width = std::max(extent.width, measured.width);
        lineHeight = std::max(lineHeight, measured.height);
    }
    if (!lines.empty())
        extent.height = step * double(lines.size() - 1) + lineHeight;
    return extent;
}

double WidthOf(wxGraphicsContext& gc, const wxFont& font, const wxString& text)
{
    return MeasureTextExtent(gc, font, text).width;
}

// The longest start of `text` that fits `width` with an ellipsis after it; empty when not even
// the ellipsis fits. The font is selected.
wxString Shortened(wxGraphicsContext& gc, const wxFont& font, const wxString& text, double width)
{
    const wxString ellipsis = wxString::FromUTF8("\xE2\x80\xA6");
    size_t fitting = 0;
    size_t tooLong = text.length();
    while (fitting + 1 < tooLong) {
        const size_t middle = (fitting + tooLong) / 2;
        if (WidthOf(gc, font, text.Left(middle) + ellipsis) <= width + kSlack)
            fitting = middle;
        else
            tooLong = middle;
    }
    const wxString shortened = text.Left(fitting) + ellipsis;
    return WidthOf(gc, font, shortened) <= width + kSlack ? shortened : wxString();
}

} // namespace

wxFont SwissBold(float designPoints, float displayScale)
{
    return SwissFont(int(designPoints / displayScale));
}

exFittedText FitText(wxGraphicsContext& gc, const std::vector<wxString>& lines, const wxFont& font,
                     const wxColour& colour, double boxWidth, double boxHeight, double lineStep,
                     double smallestShare)
{
    exFittedText fitted{font, lines, lineStep};
    const double designSize = font.GetFractionalPointSize();
    const double smallest = designSize * smallestShare;
    auto fits = [&](const Extent& extent) {
        return extent.width <= boxWidth + kSlack && extent.height <= boxHeight + kSlack;
    };
    Extent extent = MeasureLines(gc, lines, font, colour, lineStep);
    double size = designSize;
    while (!fits(extent) && size > smallest) {
        // Straight to the size the overflow asks for, as text widths grow about in proportion
        // to the size; then a quarter point at a time for what rounding leaves.
        double share = 1;
        if (extent.width > boxWidth)
            share = std::min(share, boxWidth / extent.width);
        if (extent.height > boxHeight)
            share = std::min(share, boxHeight / extent.height);
        double next = std::floor(size * share * kStepsPerPoint) / kStepsPerPoint;
        if (next >= size)
            next = size - 1 / kStepsPerPoint;
        size = std::max(next, smallest);
        fitted.font = wxFont(font);
        fitted.font.SetFractionalPointSize(size);
        fitted.lineStep = lineStep * size / designSize;
        extent = MeasureLines(gc, lines, fitted.font, colour, fitted.lineStep);
    }
    if (extent.width > boxWidth + kSlack) {
        extent.width = 0;
        for (wxString& line : fitted.lines) {
            if (WidthOf(gc, fitted.font, line) > boxWidth + kSlack)
                line = Shortened(gc, fitted.font, line, boxWidth);
            extent.width = std::max(extent.width, WidthOf(gc, fitted.font, line));
        }
    }
    fitted.width = extent.width;
    fitted.height = extent.height;
    return fitted;
}

void PaintFittedLines(wxGraphicsContext* gc, const std::vector<wxString>& lines, double lineStep,
                      const wxRect2DDouble& box, const wxFont& font, const wxColour& colour,
                      int align, double smallestShare)
{
    const exFittedText fitted =
        FitText(*gc, lines, font, colour, box.m_width, box.m_height, lineStep, smallestShare);
    double top = box.m_y;
    if (align & wxALIGN_CENTRE_VERTICAL)
        top += (box.m_height - fitted.height) / 2;
    for (size_t i = 0; i < fitted.lines.size(); ++i) {
        const wxString& line = fitted.lines[i];
        double left = box.m_x;
        if (align & wxALIGN_CENTRE_HORIZONTAL) {
            const double width =
                fitted.lines.size() == 1 ? fitted.width : WidthOf(*gc, fitted.font, line);
            left += (box.m_width - width) / 2;
        }
        gc->DrawText(line, left, top + double(i) * fitted.lineStep);
    }
}

void PaintFitted(wxGraphicsContext* gc, const wxString& text, const wxRect2DDouble& box,
                 const wxFont& font, const wxColour& colour, int align, double smallestShare)
{
    PaintFittedLines(gc, {text}, 0, box, font, colour, align, smallestShare);
}

void PaintTableTopBox(wxGraphicsContext* gc, double boxX, double boxWidth, const wxBrush& brush,
                      const wxPen& pen, const wxString& label, double labelX,
                      const wxFont& labelFont)
{
    gc->SetBrush(brush);
    gc->SetPen(pen);
    gc->DrawRoundedRectangle(boxX, 0, boxWidth, 70, kTableTopCorner);
    PaintFitted(gc, label,
                wxRect2DDouble(labelX, kTableTopLabelY, boxX - kLabelGap - labelX, kLabelHeight),
                labelFont, *wxBLACK);
}

wxRect2DDouble LogoTitleBox()
{
    return wxRect2DDouble(43, 55, 105, 13);
}

void PaintLogo(wxGraphicsContext* gc, const wxBitmap& logo)
{
    if (logo.IsOk())
        gc->DrawBitmap(logo, kLogoX, kLogoY, kLogoWidth, kLogoHeight);
}

void PaintLogoTitle(wxGraphicsContext* gc, const wxString& title, const wxRect2DDouble& titleBox,
                    float displayScale)
{
    PaintFitted(gc, title, titleBox, SwissBold(7, displayScale), *wxWHITE);
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
