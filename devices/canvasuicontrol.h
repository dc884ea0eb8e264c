#pragma once

#include <wx/font.h>

#include "common/controls/canvasbutton.h"
#include "devices/settingstate.h"

class exBaseNode;

// The user interface on a device's front panel (keys or a display with name, ID, display
// time-out and lock); clicking it opens the device settings.
class exCanvasUIControl : public exCanvasButton {
public:
    enum Style { kInfoKey = 0, kKeys = 1, kLargeDisplay = 2, kSmallDisplay = 3 };
    static constexpr size_t kShownNameLength = 17;

    explicit exCanvasUIControl(exBaseNode* device);

    wxSize Paint(wxGraphicsContext* gc) override;
    // Opens the device settings dialog over the rack.
    bool OnClick(exCanvasControl* source, int x, int y) override;
    // The device settings dialog, made for `root`, not yet open.
    virtual exCanvasControl* CreateDialog(exCanvasControl* root);

    // "ID: -" for a device without an ID, else "ID: n".
    wxString GetIdText() const;
    // The display time-out as the large (or the small) display words it; empty for other codes.
    wxString GetTimeoutText(bool smallDisplay) const;
    wxString GetShownName() const;

    // The device settings: name, lock, display time-out and option bytes.
    exSettingState state;
    exBaseNode* device;
    wxFont textFont;
    bool greyOutline = false;
    int textLineOffset = -1;

private:
    wxSize PaintInfoKey(wxGraphicsContext* gc);
    wxSize PaintKeys(wxGraphicsContext* gc);
    wxSize PaintLargeDisplay(wxGraphicsContext* gc);
    wxSize PaintSmallDisplay(wxGraphicsContext* gc);
    void PaintRoundKey(wxGraphicsContext* gc, double x, double y);
    wxColour ScreenColour() const;
    // What the display shows has been read from the device (or set by the user).
    bool IsRead() const;
    wxFont LargeFont() const;
};
