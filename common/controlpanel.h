#pragma once

#include <functional>

#include <wx/string.h>

#include "common/basecanvaspanel.h"

class exCanvasBitmapButton;
class exCanvasButton;
class exCanvasSwitchAndButton;

// The bar above the rack: the logo (opens the user guide), Auto Scan with its one-off "Scan",
// "Save Rig" and "Load Rig", Auto Update with its "Update" that sends every pending change, and
// "Exit".
class exControlPanel : public exBaseCanvasPanel {
public:
    static constexpr int kHeight = 60;
    static constexpr int kMinWidth = 800;

    explicit exControlPanel(wxWindow* parent);
    ~exControlPanel() override;

    void Relayout() override;
    void OnControlPressed(exCanvasControl* control) override;

    // Where the logo leads: the user guide that comes with the program.
    static wxString GuideAddress();
    // Turns Auto Update on or off as its switch does.
    void SetAutoUpdate(bool on);

    exCanvasSwitchAndButton* scanPair;
    exCanvasSwitchAndButton* updatePair;
    exCanvasBitmapButton* logo;
    exCanvasButton* saveRigButton;
    exCanvasButton* loadRigButton;
    exCanvasButton* exitButton;
    // Opens an address in the browser; tests put a recorder here.
    std::function<void(const wxString&)> openAddress;
    // What "Save Rig" and "Load Rig" do.
    std::function<void()> saveRig;
    std::function<void()> loadRig;

private:
    void MeasureControls();
    void SendPendingChanges();
};
