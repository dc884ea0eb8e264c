#pragma once

#include <cstdint>
#include <vector>

#include <wx/timer.h>

#include "common/basecanvaspanel.h"

class exBaseNode;

// The rack view: every detected device drawn as its front and back panels, stacked and zoomed to
// the window's width. Its 50 ms timer is the devices' clock and sends the once-a-second
// discovery request.
class exRackPanel : public exBaseCanvasPanel {
public:
    static constexpr int kTimerId = 6000;
    static constexpr int kTickMs = 50;
    static constexpr int kDiscoveryIntervalMs = 1000;
    static constexpr int kMargin = 20;
    static constexpr int kDeviceGap = 40;
    static constexpr int kModuleGap = 5;

    exRackPanel(wxWindow* parent, const wxString& name);
    ~exRackPanel() override;

    void Relayout() override;
    void BeforeDraw(wxGraphicsContext* gc) override;

    void CollectDevices(std::vector<exBaseNode*>& list, bool includeHidden);
    void PositionDevices();
    // An empty rack: every device goes.
    void Clear();

    void OnTimer(wxTimerEvent& event);
    // One tick of the clock: repaint if needed, the discovery request once a second, every
    // device's Tick.
    void Advance(int elapsedMs);

    wxTimer* timer;
    int elapsed = 0;

private:
    // Virtual height in pixels that lets the view scroll exactly to the rack's end.
    int ScrollRange(int totalHeight, int clientHeight) const;
    // Height of the stacked visible devices, gaps included.
    static int StackedHeight(const std::vector<exBaseNode*>& devices);

    wxDECLARE_EVENT_TABLE();
};
