#pragma once

#include <vector>

#include <wx/arrstr.h>
#include <wx/font.h>

#include "common/controls/canvascontrol.h"

// A row of labelled segments of which one is selected; a press selects the segment under it.
class exCanvasSegementedControl : public exCanvasControl {
public:
    // `items` must not be empty.
    exCanvasSegementedControl(exCanvasControl* parent, const wxArrayString& items, int selection,
                              int x, int y, int width, int height);

    wxSize Paint(wxGraphicsContext* gc) override;
    bool OnClick(exCanvasControl* source, int x, int y) override;

    // Measures the labels and fixes the segment size; runs once.
    void Measure();
    // The segment under x (relative to the control): presses past the last segment's right
    // edge, the spare pixels of an uneven division included, select the last one.
    int SegmentAt(int px) const;
    int SegmentLeft(int index) const { return segmentWidth * index; }

    int GetSelection() const { return selection; }
    void SetSelection(int index);

    wxArrayString items;
    int itemCount;
    int segmentWidth = 0;
    int segmentHeight = 0;
    std::vector<double> textWidths;
    double textHeight = 0.0;
    int selection;
    wxFont font;
    bool measured = false;
};
