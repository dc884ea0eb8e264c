#include "common/rackroot.h"

#include <algorithm>
#include <limits>

#include <wx/graphics.h>
#include <wx/pen.h>

#include "common/controls/canvascolours.h"
#include "devices/basenode.h"

namespace {
// Devices draw a little outside their extent (the shade of a lost device reaches 4 beyond).
constexpr double kOverdraw = 8.0;
// The outline runs outside that shade.
constexpr double kOutlineGap = 6.0;
constexpr double kOutlineWidth = 3.0;
constexpr double kOutlineCorner = 4.0;
} // namespace

exRackRoot::exRackRoot()
    : exCanvasControl(nullptr, 0, 0, 0, 0, wxEmptyString),
      shownTop(std::numeric_limits<double>::lowest()),
      shownBottom(std::numeric_limits<double>::max())
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
    if (outlined)
        if (const exBaseNode* target = JumpTarget(); target && !target->hidden)
            PaintOutline(gc, *target);
    return wxSize(width, height);
}

void exRackRoot::PaintOutline(wxGraphicsContext* gc, const exBaseNode& device) const
{
    gc->SetBrush(*wxTRANSPARENT_BRUSH);
    gc->SetPen(wxPen(exCanvasColours::kJumpOutline, int(kOutlineWidth)));
    gc->DrawRoundedRectangle(device.x - kOutlineGap, device.y - kOutlineGap,
                             device.width + 2 * kOutlineGap, device.height + 2 * kOutlineGap,
                             kOutlineCorner);
}

exBaseNode* exRackRoot::JumpTarget() const
{
    // A device leaves the rack only with the list changing; only then is it looked for.
    if (children->Version() != jumpTargetListVersion &&
        children->Find(jumpTarget) == children->end())
        return nullptr;
    return jumpTarget;
}

void exRackRoot::SetJumpTarget(exBaseNode* device)
{
    jumpTarget = device;
    jumpTargetListVersion = children->Version();
}

void exRackRoot::Relayout() const
{
    if (relayout)
        relayout();
}

bool exRackRoot::TakeResumeTurn()
{
    if (resumeTurnsLeft <= 0)
        return false;
    --resumeTurnsLeft;
    return true;
}

void exRackRoot::AdvanceClock(int elapsedMs)
{
    resumeClockMs += elapsedMs;
    if (resumeClockMs >= 1000) {
        resumeClockMs = 0;
        resumeTurnsLeft = kResumesPerSecond;
    }
}
