#include "common/controls/textmeasure.h"

#include <wx/fontenum.h>

#include <map>
#include <memory>
#include <utility>

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

wxGraphicsContext* MeasuringContext()
{
    // A bitmap, its memory DC and a context cost more than measuring a text, and dialogs measure
    // every label when they open. Never destroyed: no static destructor runs after the toolkit's
    // shutdown.
    struct Surface {
        wxBitmap bitmap{100, 100};
        wxMemoryDC dc{bitmap};
        std::unique_ptr<wxGraphicsContext> context{wxGraphicsContext::Create(dc)};
    };
    static auto* surface = new Surface;
    return surface->context.get();
}

wxSize MeasureText(const wxFont& font, const wxString& text)
{
    wxGraphicsContext* gc = MeasuringContext();
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
    // Every device builds dozens of controls, each with its font: a font is made once per size
    // and shared (wxFont copies share their data until one is changed). Held for the whole run,
    // so no font outlives the toolkit's shutdown in a static destructor.
    static auto* made = new std::map<std::pair<int, bool>, wxFont>;
    const auto found = made->find({points, bold});
    if (found != made->end())
        return found->second;
    static const bool hasLayoutFace = wxFontEnumerator::IsValidFacename(kLayoutFace);
    wxFontInfo info(points);
    info.Family(wxFONTFAMILY_SWISS).Bold(bold);
    if (hasLayoutFace)
        info.FaceName(kLayoutFace);
    return made->emplace(std::make_pair(points, bold), wxFont(info)).first->second;
}

wxFont CanvasLabelFont()
{
    return SwissFont(10);
}
