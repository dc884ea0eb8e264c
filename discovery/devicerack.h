#pragma once

class exDeviceIndex;

// What the rack that holds the devices offers to the code that finds, places and redraws them:
// the index over its device list, a new layout after the list changed, and whether rows are in
// view. The rack's root control is one; a plain root control (as tests use) is none, and then
// devices are found by walking the list, never laid out and always repainted.
class exDeviceRack {
public:
    virtual exDeviceIndex& DeviceIndex() = 0;
    // Lays the rack out again after a device appeared, went or changed its size.
    virtual void Relayout() const = 0;
    // Whether anything of the rows from `top`, `height` high, is in view.
    virtual bool Shows(int top, int height) const = 0;
    // Whether a read-back whose tries ran out may start again now: a large rig whose devices
    // stalled together asks them again a few at a time.
    virtual bool TakeResumeTurn() = 0;

protected:
    ~exDeviceRack() = default;
};
