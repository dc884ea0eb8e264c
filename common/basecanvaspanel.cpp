#include "common/basecanvaspanel.h"

#include <memory>

#include <wx/dcclient.h>
#include <wx/graphics.h>
#include <wx/log.h>

#include "common/controls/canvascontrol.h"
#include "common/controls/paintfonts.h"

// clang-format off
wxBEGIN_EVENT_TABLE(exBaseCanvasPanel, wxScrolledWindow)
    EVT_PAINT(exBaseCanvasPanel::OnPaint)
    EVT_MOUSE_EVENTS(exBaseCanvasPanel::OnMouse)
    EVT_MAGNIFY(exBaseCanvasPanel::OnMouse)
    EVT_SIZE(exBaseCanvasPanel::OnSize)
    EVT_CHAR(exBaseCanvasPanel::OnChar)
wxEND_EVENT_TABLE()
// clang-format on

exBaseCanvasPanel::exBaseCanvasPanel(wxWindow* parent, const wxString& name)
    : wxScrolledWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxHSCROLL | wxVSCROLL,
                       name),
      name(name)
{
    SetDoubleBuffered(true);
    // Painting applies the scroll position itself, so scrolling must repaint everything rather
    // than move pixels drawn at another zoom.
    EnableScrolling(false, false);
}

void exBaseCanvasPanel::OnControlPressed(exCanvasControl*) {}

void exBaseCanvasPanel::Relayout() {}

void exBaseCanvasPanel::BeforeDraw(wxGraphicsContext*) {}

void exBaseCanvasPanel::AfterDraw(wxGraphicsContext*) {}

bool exBaseCanvasPanel::TakesMouse(const wxMouseEvent&)
{
    return false;
}

void exBaseCanvasPanel::SetOrigin(int x, int y)
{
    origin = wxPoint(x, y);
}

wxPoint exBaseCanvasPanel::GetOrigin()
{
    return origin;
}

void exBaseCanvasPanel::OnCharEvent(wxKeyEvent& event)
{
    if (root)
        root->OnChar(event.GetUnicodeKey());
    Refresh();
}

void exBaseCanvasPanel::OnPaint(wxPaintEvent&)
{
    if (!IsShownOnScreen())
        return;
    wxPaintDC dc(this);
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
    wxCHECK_RET(gc, "gc != 0");
    PaintCanvas(*gc);
}

void exBaseCanvasPanel::PaintCanvas(wxGraphicsContext& gc)
{
    if (!root)
        return;
    const exPaintFonts fonts(gc);
    gc.PushState();
    BeforeDraw(&gc);
    gc.Scale(canvasScale, canvasScale);
    gc.Translate(0, -GetScrollPos(wxVERTICAL));
    root->Draw(&gc);
    gc.PopState();
    AfterDraw(&gc);
    if (root->overlay)
        root->overlay->Draw(&gc);
}

wxPoint exBaseCanvasPanel::WindowToCanvas(const wxPoint& window)
{
    const double cx = (window.x - origin.x) / canvasScale;
    const double cy = GetScrollPos(wxVERTICAL) + (window.y - origin.y) / canvasScale;
    return wxPoint(int(cx), int(cy));
}

void exBaseCanvasPanel::OnMouse(wxMouseEvent& event)
{
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_LEAVE_WINDOW)
        mouseInside = 0;
    else if (type == wxEVT_ENTER_WINDOW)
        mouseInside = 1;
    if (type != wxEVT_ENTER_WINDOW && !mouseInside) {
        Refresh(true);
        return;
    }
    if (const int rotation = event.GetWheelRotation()) {
        wxLogDebug("Scroll: %d", rotation);
        const int target = GetScrollPos(wxVERTICAL) + rotation / 20;
        int unitY = 0;
        GetScrollPixelsPerUnit(nullptr, &unitY);
        // Through the scroll helper when it manages the range, so that it keeps the same
        // position as the native bar; it clamps like the bar does.
        if (unitY > 0)
            Scroll(-1, target < 0 ? 0 : target);
        else
            SetScrollPos(wxVERTICAL, target, true);
        Refresh(true);
        return;
    }
    event.Skip();
    if (!root)
        return;
    exCanvasControl* pressed = nullptr;
    if (root->overlay) {
        pressed = root->overlay->RouteMouse(event);
    } else if (TakesMouse(event)) {
        return;
    } else {
        wxMouseEvent mapped(event);
        mapped.SetPosition(WindowToCanvas(event.GetPosition()));
        pressed = root->RouteMouse(mapped);
    }
    if (pressed)
        OnControlPressed(pressed);
    if (root && root->dirty)
        Refresh(true);
}

void exBaseCanvasPanel::OnSize(wxSizeEvent&)
{
    if (root) {
        const wxSize client = GetClientSize();
        root->clientWidth = client.x;
        root->clientHeight = client.y;
    }
    Relayout();
    Refresh(true);
}
