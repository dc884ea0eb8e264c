#pragma once

#include "common/controls/canvascontrol.h"

// A one-line text entry typed into from the keyboard; shows a white frame while focused.
class exCanvasTextControl : public exCanvasControl {
public:
    exCanvasTextControl(exCanvasControl* parent, const wxString& text, int x, int y, int width,
                        int height);

    wxSize Paint(wxGraphicsContext* gc) override;
    void OnChar(wxChar character) override;

    void SetText(const wxString& newText);

    wxString text;

protected:
    // Where the text starts inside the box, both ways.
    static constexpr double kTextInset = 3.0;

    // Draws the entry with `fill` as its enabled fill colour.
    wxSize PaintEntry(wxGraphicsContext* gc, const wxColour& fill);
    // The box alone, filled and framed as PaintEntry does; returns the colour of its text.
    wxColour PaintBox(wxGraphicsContext* gc, const wxColour& fill);
};
