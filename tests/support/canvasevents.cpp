#include "support/canvasevents.h"

#include <memory>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>

wxMouseEvent MouseAt(wxEventType type, int x, int y)
{
    wxMouseEvent event(type);
    event.SetPosition(wxPoint(x, y));
    if (type == wxEVT_LEFT_DOWN || type == wxEVT_LEFT_DCLICK)
        event.SetLeftDown(true);
    return event;
}

wxImage PaintToImage(exCanvasControl& control, int width, int height)
{
    wxBitmap bitmap(width, height, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
        control.Draw(gc.get());
    }
    return bitmap.ConvertToImage();
}

ScopedTextMeasurer::ScopedTextMeasurer(std::vector<Entry> widths, double height)
{
    SetTextMeasurer([this, widths, height](const wxFont&, const wxString& text) {
        ++calls;
        for (const Entry& entry : widths)
            if (entry.text == text)
                return exTextExtent{entry.width, height};
        return exTextExtent{10.0 * text.length(), height};
    });
}

ScopedTextMeasurer::~ScopedTextMeasurer()
{
    SetTextMeasurer(nullptr);
}
