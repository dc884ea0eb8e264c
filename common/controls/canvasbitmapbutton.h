#pragma once

#include <wx/bitmap.h>
#include <wx/image.h>

#include "common/controls/canvasbutton.h"

// A button shown as a picture, darkened while pressed.
class exCanvasBitmapButton : public exCanvasButton {
public:
    exCanvasBitmapButton(exCanvasControl* parent, int x, int y, const char* const* xpmData);

    wxSize Paint(wxGraphicsContext* gc) override;
    void SetImageScale(float scale);

    wxImage image;
    float imageScale = 1.0f;
    wxBitmap bitmap;
};
