#pragma once

#include <string>
#include <vector>

#include "rig/rigdevice.h"

class exBaseNode;

// Between a device's records and its rig value: taking a device's settings as they stand, and
// making a saved value the device's pending edits, drawn in red and sent by "Update".
class exRigRecords {
public:
    // Every setting the device reads back is known (read from it, or edited): its own, and for
    // a large switch the ports its bays report for their modules. Its ID may still be coming.
    static bool IsReadBack(const exBaseNode& device);

    // The device's settings as the dialogs would show them. Changes nothing in the device.
    static exRigDevice Capture(const exBaseNode& device);

    // Every value of `saved` that differs from the device's own becomes a pending edit, as "OK"
    // in its dialog would leave it with immediate sending off; nothing is sent. A port saved
    // without a protocol (a disabled port reports none) keeps the protocol and universe it has.
    // A value no dialog of this device could produce (an output on an input-only port, a
    // protocol taken from an enabled port, a filter port, a speed the port does not offer, a
    // lock or display time-out its front panel does not offer, a port or bay it does not have)
    // is left as it is and described in `notApplied`. Returns the number of values made pending.
    static int Apply(const exRigDevice& saved, exBaseNode& device,
                     std::vector<std::string>& notApplied);
};
