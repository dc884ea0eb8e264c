#pragma once

#include <vector>

#include <wx/string.h>

#include "fuzzharness.h"

class exBaseNode;
class exCanvasControl;
class FuzzInput;
class SimulatedRig;

// Clicks and typed characters into one of the four settings dialogs, opened on a simulated
// device that keeps answering discovery and read-back meanwhile, ending with "OK" (and "Update"
// when immediate sending is off). Whatever is then sent must be a well-formed message of its
// kind that carries what the dialog showed when "OK" was pressed.
class DialogHarness : public FuzzHarness {
public:
    using FuzzHarness::FuzzHarness;
    std::string Run(const uint8_t* data, size_t size) override;

    enum Kind { kDmxPort, kNetwork, kDeviceSettings, kSwitchPort, kKindCount };

private:
    // What the dialog shows: the values "OK" must send.
    struct Shown {
        int mode = 0;
        int protocol = -1;
        int universe = 0;
        int value = 0; // VLAN, or the loop partner in loop mode
        int switchIndex = 0;
        wxString name;
        bool locked = false;
        int timeout = 0;
        uint32_t ip = 0;
        uint32_t mask = 0;
        bool dhcp = false;
    };

    // Opens a dialog of `kind` on `device` as a click on its element does; null when the
    // device has no such element.
    exCanvasControl* Open(Kind kind, exBaseNode* device, FuzzInput& input,
                          exCanvasControl*& element);
    Shown Capture(Kind kind, exCanvasControl* dialog) const;
    // One step of the user or the network; false once the dialog has closed.
    bool Step(exCanvasControl* dialog, FuzzInput& input, SimulatedRig& rig);
    void Press(exCanvasControl* control, int dx, int dy);
    std::string CheckSent(Kind kind, const Shown& shown, exBaseNode* device) const;

    size_t kivnetAtOpen = 0;
    size_t updateAtOpen = 0;
};
