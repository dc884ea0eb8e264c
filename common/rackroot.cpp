#include "common/rackroot.h"

#include <algorithm>
#include <limits>

#include <wx/graphics.h>

namespace {
// Devices draw a little outside their extent (the shade of a lost device reaches 4 beyond).
constexpr double kOverdraw = 8.0;
} // namespace

exRackRoot::exRackRoot()
    : exCanvasControl(nullptr, 0, 0, 0, 0, wxEmptyString),
      shownTop(std::numeric_limits<double>::lowest()), shownBottom(std::numeric_limits<double>::max())
{
}

void exRackRoot::SetShownRows(double top, double bottom)
{
    shownTop = top;
    shownBottom = bottom;
}

bool exRackRoot::Shows(int top, int height) const
{
    return top - kOverdraw <= shownBottom && top + height + kOverdraw >= shownTop;
}

wxSize exRackRoot::DrawChildren(wxGraphicsContext* gc)
{
    double clipX = 0, clipY = 0, clipWidth = 0, clipHeight = 0;
    gc->GetClipBox(&clipX, &clipY, &clipWidth, &clipHeight);
    const double top = clipY - kOverdraw;
    const double bottom = clipY + clipHeight + kOverdraw;
    for (exCanvasControl* child : *children) {
        if (child->y > bottom || child->y + child->height < top)
            continue;
        const wxSize drawn = child->Draw(gc);
        width = std::max(width, drawn.x);
        height = std::max(height, drawn.y);
    }
    return wxSize(width, height);
}

void exRackRoot::Relayout() const
{
    if (relayout)
        relayout();
}
