#pragma once

#include <functional>

#include "common/controls/canvascontrol.h"
#include "common/deviceindex.h"

// The rack's root: holds the devices and draws only those that reach into the area being
// painted, so that a repaint costs what is visible, not the size of the rig.
class exRackRoot : public exCanvasControl {
public:
    exRackRoot();

    wxSize DrawChildren(wxGraphicsContext* gc) override;

    // The rows of the rack in view, in canvas units, as the last paint showed them; until the
    // first paint every row counts as in view.
    void SetShownRows(double top, double bottom);
    // Whether anything of the rows from `top`, `height` high, is in view.
    bool Shows(int top, int height) const;

    // Lays the rack out again after a device appeared, went or changed its size: what the rack
    // panel showing this root does (nothing while none shows it).
    void Relayout() const;

    exDeviceIndex deviceIndex;
    std::function<void()> relayout;

private:
    double shownTop;
    double shownBottom;
};
