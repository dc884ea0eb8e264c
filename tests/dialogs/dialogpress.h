#pragma once

#include <gtest/gtest.h>
#include <wx/gdicmn.h>

#include "common/controls/canvascontrol.h"
#include "support/canvasevents.h"

// Presses a control of the open dialog as the canvas panel does: a left press and its release
// in window pixels, routed to the root's overlay. (dx, dy) is relative to the control.
inline void PressOverlayControl(exCanvasControl& root, exCanvasControl* control, int dx, int dy)
{
    wxPoint at(dx, dy);
    for (exCanvasControl* c = control; c && c->parent; c = c->parent)
        at += wxPoint(c->x, c->y);
    exCanvasControl* overlay = root.overlay;
    overlay->RouteMouse(PressAt(at.x, at.y));
    overlay->RouteMouse(MouseAt(wxEVT_LEFT_UP, at.x, at.y));
}

inline void PressMiddle(exCanvasControl& root, exCanvasControl* control)
{
    PressOverlayControl(root, control, control->width / 2, control->height / 2);
}

// Presses a point of `control` (relative to it) through the root's overlay, as the panel does,
// and lets go so that the next press counts again; a press that has closed the dialog ("OK")
// has nothing to let go of.
inline void PressAndRelease(exCanvasControl& root, exCanvasControl* control, int dx, int dy)
{
    int px = dx, py = dy;
    for (exCanvasControl* c = control; c && c != &root; c = c->parent) {
        px += c->x;
        py += c->y;
    }
    root.overlay->RouteMouse(PressAt(px, py));
    if (root.overlay)
        root.overlay->RouteMouse(MouseAt(wxEVT_LEFT_UP, px, py));
}

// Clicks `control` the way the panel does and returns the dialog of type `Dialog` the click
// has opened over the root.
template <class Dialog> Dialog* OpenByClick(exCanvasControl& root, exCanvasControl* control)
{
    control->OnClick(control, 0, 0);
    auto* dialog = dynamic_cast<Dialog*>(root.overlay);
    EXPECT_NE(dialog, nullptr);
    return dialog;
}
