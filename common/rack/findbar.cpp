#include "common/rack/findbar.h"

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#include "common/controls/canvascolours.h"
#include "common/controls/findentry.h"
#include "common/controls/paintfonts.h"
#include "common/controls/textmeasure.h"

namespace {
constexpr int kCaptionX = 12;
constexpr int kEntryX = 50;
constexpr int kEntryY = 5;
constexpr int kEntryWidth = 420;
constexpr int kEntryHeight = 20;
constexpr int kHintsGap = 15;
constexpr int kTextY = 8;
} // namespace

exFindBar::exFindBar() : exCanvasControl(nullptr, 0, 0, 0, kDesignHeight, wxEmptyString)
{
    entry = new exFindEntry(this, kEntryX, kEntryY, kEntryWidth, kEntryHeight);
    entry->hasFocus = true;
    children->Append(entry);
}

wxSize exFindBar::Paint(wxGraphicsContext* gc)
{
    gc->SetBrush(*wxBLACK_BRUSH);
    gc->SetPen(wxPen(exCanvasColours::kLightGrey, 1));
    gc->DrawRectangle(-1, -1, width + 2, height);
    const wxFont font = CanvasLabelFont();
    exPaintFonts::Select(*gc, font, *wxWHITE);
    gc->DrawText(kCaption, Scaled(kCaptionX), Scaled(kTextY));
    exPaintFonts::Select(*gc, font, exCanvasColours::kPairCaption);
    gc->DrawText(kKeyHints, entry->x + entry->width + Scaled(kHintsGap), Scaled(kTextY));
    return wxSize(width, height);
}
