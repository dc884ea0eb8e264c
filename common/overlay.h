#pragma once

#include <functional>

class exCanvasControl;

// The root of a canvas shows at most one overlay (an open dialog) above everything else. A
// dialog that closes is kept as the root's retired overlay until the next open or close, because
// its own click handler may still be running when it closes.
class exOverlay {
public:
    // Makes `overlay` the root's overlay, centred in the root's client area. The previous
    // overlay is retired; an older retired one is deleted first.
    static void Open(exCanvasControl* origin, exCanvasControl* overlay);
    // What a click on a device element does: the element's dialog, made by `create` for the
    // element's root, opens over the rack. Returns false (the click goes on to the element's
    // parents, as every element's click does).
    static bool OpenDialogOf(exCanvasControl* element,
                             const std::function<exCanvasControl*(exCanvasControl*)>& create);
    // Retires the root's current overlay, if any, deleting an older retired one.
    static void Close(exCanvasControl* origin);
    // Closes the root's overlay without its "OK" (what it edits is going away) and takes the
    // keyboard focus from it, so that nothing points into the retired dialog.
    static void Dismiss(exCanvasControl* origin);
};
