#include "common/controls/findentry.h"

#include <wx/graphics.h>

#include "common/controls/canvascolours.h"
#include "common/controls/keys.h"
#include "common/controls/paintfonts.h"
#include "common/controls/textmeasure.h"

namespace {
constexpr wxChar kFirstPrintable = 0x20;
// DEL and the C1 control characters.
constexpr wxChar kFirstC1 = 0x7F;
constexpr wxChar kLastC1 = 0x9F;
// Halves of a pair that no single typed character is.
constexpr wxChar kFirstSurrogate = 0xD800;
constexpr wxChar kLastSurrogate = 0xDFFF;
constexpr wxChar kLastCodePoint = 0x10FFFF;
} // namespace

exFindEntry::exFindEntry(exCanvasControl* parent, int x, int y, int width, int height)
    : exCanvasTextControl(parent, wxEmptyString, x, y, width, height)
{
}

bool exFindEntry::IsTypedCharacter(wxChar character)
{
    return character >= kFirstPrintable && (character < kFirstC1 || character > kLastC1) &&
           (character < kFirstSurrogate || character > kLastSurrogate) &&
           character <= kLastCodePoint;
}

void exFindEntry::OnChar(wxChar character)
{
    if (character == exKeys::kBackspace && !text.empty()) {
        text.RemoveLast();
    } else if (IsTypedCharacter(character) && Holds(text + character)) {
        text += character;
    } else {
        return;
    }
    SetDirty();
    if (edited)
        edited();
}

bool exFindEntry::Holds(const wxString& candidate) const
{
    const double room = width - 2 * kTextInset - Scaled(kCountRoom);
    return candidate.length() <= kMaxLength && MeasureText(CanvasLabelFont(), candidate).x <= room;
}

void exFindEntry::SetCount(int position, int count)
{
    if (position == matchPosition && count == matchCount)
        return;
    matchPosition = position;
    matchCount = count;
    SetDirty();
}

wxString exFindEntry::CountText() const
{
    if (text.empty())
        return wxEmptyString;
    if (matchCount == 0)
        return "no match";
    return wxString::Format("%d of %d", matchPosition, matchCount);
}

wxSize exFindEntry::Paint(wxGraphicsContext* gc)
{
    const wxString count = CountText();
    const bool none = !text.empty() && matchCount == 0;
    const wxColour ink = PaintBox(gc, none ? exCanvasColours::kIpInvalidFill : normalFill);
    const wxFont font = CanvasLabelFont();
    exPaintFonts::Select(*gc, font, ink);
    gc->DrawText(text, kTextInset, kTextInset);
    if (!count.empty()) {
        const double countWidth = MeasureTextExtent(*gc, font, count).width;
        exPaintFonts::Select(*gc, font, none ? *wxWHITE : exCanvasColours::kDarkGrey);
        gc->DrawText(count, width - 2 * kTextInset - countWidth, kTextInset);
    }
    return wxSize(width, height);
}
