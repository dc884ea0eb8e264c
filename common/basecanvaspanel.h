#pragma once

#include <wx/scrolwin.h>

class wxGraphicsContext;
class exCanvasControl;

// A native window that paints a tree of canvas controls, zoomed and scrolled, and routes the
// mouse and typed characters into it.
class exBaseCanvasPanel : public wxScrolledWindow {
public:
    exBaseCanvasPanel(wxWindow* parent, const wxString& name);

    virtual void OnControlPressed(exCanvasControl* control);
    virtual void Relayout();
    virtual void BeforeDraw(wxGraphicsContext* gc);
    // Draws what the panel shows of its own over the tree, in window pixels, below any overlay.
    virtual void AfterDraw(wxGraphicsContext* gc);
    // Whether something the panel shows of its own over the tree is under the pointer and takes
    // this mouse event, so that the tree below does not get it.
    virtual bool TakesMouse(const wxMouseEvent& event);
    virtual void SetOrigin(int x, int y);
    virtual wxPoint GetOrigin();
    virtual void OnCharEvent(wxKeyEvent& event);

    void OnPaint(wxPaintEvent& event);
    // What a paint draws: the tree zoomed and scrolled, the panel's own drawing, the overlay.
    void PaintCanvas(wxGraphicsContext& gc);
    void OnMouse(wxMouseEvent& event);
    void OnSize(wxSizeEvent& event);

    // Window pixels to canvas units, truncated toward zero.
    wxPoint WindowToCanvas(const wxPoint& window);

    exCanvasControl* root = nullptr;
    double canvasScale = 1.0;
    wxPoint origin{0, 0};
    int mouseInside = 1;
    wxString name;

private:
    void OnChar(wxKeyEvent& event) { OnCharEvent(event); }

    wxDECLARE_EVENT_TABLE();
};
