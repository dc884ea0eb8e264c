#include "common/controls/segmentedcontrol.h"

#include <algorithm>

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#include "common/controls/paintfonts.h"
#include "common/controls/textmeasure.h"

namespace {

constexpr int kSegmentPadding = 10;

} // namespace

exCanvasSegementedControl::exCanvasSegementedControl(exCanvasControl* parent,
                                                     const wxArrayString& items, int selection,
                                                     int x, int y, int width, int height)
    : exCanvasControl(parent, x, y, width, height, wxEmptyString), items(items),
      itemCount(int(items.size())), selection(selection), font(CanvasLabelFont())
{
    wxASSERT_MSG(itemCount > 0, "a segmented control needs at least one item");
    normalText = *wxBLACK;
}

void exCanvasSegementedControl::Measure()
{
    if (measured)
        return;
    wxGraphicsContext* gc = MeasuringContext();
    if (gc)
        exPaintFonts::Select(*gc, font, *wxWHITE);

    width = designWidth;
    height = designHeight;
    drawnWidth = Scaled(width);
    drawnHeight = Scaled(height);
    double widest = 0.0;
    textHeight = 0.0;
    textWidths.clear();
    for (const wxString& item : items) {
        exTextExtent extent;
        if (gc)
            extent = MeasureTextExtent(*gc, font, item);
        textWidths.push_back(extent.width);
        widest = std::max(widest, extent.width);
        textHeight = std::max(textHeight, extent.height);
    }
    if (textHeight > height)
        height = int(textHeight);
    segmentHeight = height;
    measured = true;

    segmentWidth = int(widest + kSegmentPadding);
    width = itemCount * segmentWidth;
    if (width < designWidth && itemCount > 0) {
        width = designWidth;
        segmentWidth = designWidth / itemCount;
    }
    drawnWidth = Scaled(width);
    drawnHeight = Scaled(height);
}

int exCanvasSegementedControl::SegmentAt(int px) const
{
    if (segmentWidth <= 0 || itemCount <= 0)
        return -1;
    if (px < 0)
        return 0;
    if (px >= itemCount * segmentWidth)
        return itemCount - 1;
    return px / segmentWidth;
}

void exCanvasSegementedControl::SetSelection(int index)
{
    selection = index;
    SetDirty();
}

bool exCanvasSegementedControl::OnClick(exCanvasControl* source, int px, int)
{
    if (source != this)
        return false;
    Measure();
    const int index = SegmentAt(px);
    if (index >= 0)
        selection = index;
    return false;
}

wxSize exCanvasSegementedControl::Paint(wxGraphicsContext* gc)
{
    const wxColour fill = mouseState == kHover ? hoverFill : normalFill;
    const wxColour selectedText = normalText;
    Measure();
    const double textY = (segmentHeight - textHeight) * 0.5 + 1.0;
    gc->SetPen(wxPen(fill, 1, wxPENSTYLE_SOLID));
    for (int i = 0; i < itemCount; ++i) {
        const int left = SegmentLeft(i);
        const bool selected = i == selection;
        gc->SetBrush(selected ? wxBrush(fill, wxBRUSHSTYLE_SOLID) : *wxTRANSPARENT_BRUSH);
        gc->DrawRectangle(left, 0, segmentWidth, segmentHeight);
        exPaintFonts::Select(*gc, font, selected ? selectedText : fill);
        gc->DrawText(items[i], left + (segmentWidth - textWidths[i]) * 0.5, textY);
    }
    return wxSize(width, height);
}
