#include "common/controls/canvasbitmapbutton.h"

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>
#include <wx/log.h>

#include "common/controls/canvascolours.h"

exCanvasBitmapButton::exCanvasBitmapButton(exCanvasControl* parent, int x, int y,
                                           const char* const* xpmData)
    : exCanvasButton(parent, x, y, 40, 20, "Button")
{
    {
        // A broken picture leaves the button invisible; it is not worth a message box.
        wxLogNull quiet;
        image = wxImage(xpmData);
    }
    if (!image.IsOk())
        return;
    bitmap = wxBitmap(image);
    width = image.GetWidth();
    height = image.GetHeight();
    drawnWidth = Scaled(width);
    drawnHeight = Scaled(height);
}

void exCanvasBitmapButton::SetImageScale(float scale)
{
    imageScale = scale;
    // Without a picture the button keeps its design-size hit area.
    if (!image.IsOk())
        return;
    width = int(scale * image.GetWidth());
    height = int(scale * image.GetHeight());
    drawnWidth = Scaled(width);
    drawnHeight = Scaled(height);
}

wxSize exCanvasBitmapButton::Paint(wxGraphicsContext* gc)
{
    if (!image.IsOk())
        return wxSize(0, 0);
    gc->DrawBitmap(bitmap, 0, 0, drawnWidth, drawnHeight);
    if (mouseState == kPressed) {
        gc->SetBrush(wxBrush(exCanvasColours::kPressedShade));
        gc->SetPen(wxPen(exCanvasColours::kPressedShade, 1, wxPENSTYLE_SOLID));
        gc->DrawRectangle(0, 0, drawnWidth, drawnHeight);
    }
    return wxSize(drawnWidth, drawnHeight);
}
