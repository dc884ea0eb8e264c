#include "common/controls/textmeasure.h"

#include <wx/fontenum.h>

#include <memory>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>

namespace {

exTextMeasurer& Measurer()
{
    static exTextMeasurer measurer;
    return measurer;
}

} // namespace

void SetTextMeasurer(exTextMeasurer measurer)
{
    Measurer() = std::move(measurer);
}

exTextExtent MeasureTextExtent(wxGraphicsContext& gc, const wxFont& font, const wxString& text)
{
    if (Measurer())
        return Measurer()(font, text);
    exTextExtent extent;
    gc.GetTextExtent(text, &extent.width, &extent.height);
    return extent;
}

wxSize MeasureText(const wxFont& font, const wxString& text)
{
    wxBitmap bitmap(100, 100);
    wxMemoryDC dc(bitmap);
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
    if (!gc)
        return wxSize(0, 0);
    gc->SetFont(font, *wxWHITE);
    const exTextExtent extent = MeasureTextExtent(*gc, font, text);
    return wxSize(int(extent.width), int(extent.height));
}

namespace {
// A sans-serif face with the widths the layouts were drawn for (Debian: fonts-liberation2).
const char* const kLayoutFace = "Liberation Sans";
} // namespace

wxFont SwissFont(int points, bool bold)
{
    static const bool hasLayoutFace = wxFontEnumerator::IsValidFacename(kLayoutFace);
    wxFontInfo info(points);
    info.Family(wxFONTFAMILY_SWISS).Bold(bold);
    if (hasLayoutFace)
        info.FaceName(kLayoutFace);
    return wxFont(info);
}

wxFont CanvasLabelFont()
{
    return SwissFont(10);
}
