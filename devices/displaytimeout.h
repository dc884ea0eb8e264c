#pragma once

#include <wx/arrstr.h>
#include <wx/string.h>

// The time-out of a device's front-panel display: the codes the devices understand (in the
// order the device settings dialog offers them) and how the program shows each.
class exDisplayTimeout {
public:
    enum Code { kAlwaysOn = 1, kFiveSeconds = 2, kOneMinute = 5 };
    static constexpr int kCodes[] = {kAlwaysOn, kFiveSeconds, kOneMinute};

    // The position of `code` among the offered ones; -1 for a code not offered.
    static int IndexOf(int code);
    // The dialog's choices, in the order of the codes.
    static wxArrayString Choices();
    // What the display drawing shows ("Display: Always On", on a small display "Display: On");
    // empty for a code not offered.
    static wxString DisplayText(int code, bool smallDisplay);
};
