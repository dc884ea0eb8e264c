#include "common/controls/canvasiptextcontrol.h"

#include "common/controls/canvascolours.h"

namespace {

// One decimal part of one to three digits up to the next dot or the end of the text, starting at
// `at` and leaving it on the character after the part.
bool ReadDecimalPart(const wxString& text, wxString::const_iterator& at, uint32_t& part)
{
    int digits = 0;
    part = 0;
    for (; at != text.end() && *at != '.'; ++at) {
        const wxUniChar c = *at;
        if (c < '0' || c > '9' || ++digits > 3)
            return false;
        part = part * 10 + (c.GetValue() - '0');
    }
    return digits > 0 && part <= 255;
}

} // namespace

uint32_t ParseDottedQuad(const wxString& text)
{
    uint32_t address = 0;
    auto at = text.begin();
    for (int index = 0; index < 4; ++index) {
        if (index > 0) {
            if (at == text.end())
                return 0;
            ++at; // the dot the previous part stopped at
        }
        uint32_t part = 0;
        if (!ReadDecimalPart(text, at, part))
            return 0;
        address = (address << 8) | part;
    }
    return at == text.end() ? address : 0;
}

wxSize exCanvasIPTextControl::Paint(wxGraphicsContext* gc)
{
    return PaintEntry(gc, ParseDottedQuad(text) != 0 ? exCanvasColours::kIpValidFill
                                                     : exCanvasColours::kIpInvalidFill);
}
