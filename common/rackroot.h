#pragma once

#include <functional>

#include "common/controls/canvascontrol.h"
#include "common/rack/rackfinder.h"
#include "discovery/deviceindex.h"
#include "discovery/devicerack.h"

class exBaseNode;

// The rack's root: holds the devices and draws only those that reach into the area being
// painted, so that a repaint costs what is visible, not the size of the rig.
class exRackRoot : public exCanvasControl, public exDeviceRack {
public:
    exRackRoot();

    wxSize DrawChildren(wxGraphicsContext* gc) override;

    // The rows of the rack in view, in canvas units, as the last paint showed them; until the
    // first paint every row counts as in view.
    void SetShownRows(double top, double bottom);
    bool Shows(int top, int height) const override;

    // What the rack panel showing this root does (nothing while none shows it).
    void Relayout() const override;
    exDeviceIndex& DeviceIndex() override { return deviceIndex; }
    bool TakeResumeTurn() override;
    // The clock's tick: the turns for read-backs started again come back every second.
    void AdvanceClock(int elapsedMs);

    // The device the view last jumped to (a find match, a device that needs attention); null
    // when there is none or it has left the rack. Outlined while `outlined` is set.
    exBaseNode* JumpTarget() const;
    void SetJumpTarget(exBaseNode* device);

    exDeviceIndex deviceIndex;
    exRackFinder finder;
    std::function<void()> relayout;
    bool outlined = false;

    // How far the outline reaches beyond a device's extent, its line included.
    static constexpr int kOutlineReach = 9;
    // Stalled read-backs started again in one second, at most.
    static constexpr int kResumesPerSecond = 100;

private:
    void PaintOutline(wxGraphicsContext* gc, const exBaseNode& device) const;

    double shownTop;
    double shownBottom;
    exBaseNode* jumpTarget = nullptr;
    // The device list as it was when the jump target was set.
    size_t jumpTargetListVersion = 0;
    int resumeTurnsLeft = kResumesPerSecond;
    int resumeClockMs = 0;
};
