#pragma once

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
