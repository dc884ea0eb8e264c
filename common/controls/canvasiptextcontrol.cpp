#include "common/controls/canvasiptextcontrol.h"

#include "common/controls/canvascolours.h"
#include "net/ipv4.h"

uint32_t ParseDottedQuad(const wxString& text)
{
    uint32_t address = 0;
    if (!ParseIpAddress(text, address))
        return 0;
    return address;
}

wxSize exCanvasIPTextControl::Paint(wxGraphicsContext* gc)
{
    return PaintEntry(gc, ParseDottedQuad(text) != 0 ? exCanvasColours::kIpValidFill
                                                      : exCanvasColours::kIpInvalidFill);
}
