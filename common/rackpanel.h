#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <wx/timer.h>

#include "common/basecanvaspanel.h"

class exBaseNode;
class exFindBar;
class exRackRoot;

// The rack view: every detected device drawn as its front and back panels, stacked and zoomed to
// the window's width. Its 50 ms timer is the devices' clock and sends the once-a-second
// discovery request. Find (Ctrl+F or "/") and the attention keys (F8, Shift+F8) jump the view to
// a device and outline it.
class exRackPanel : public exBaseCanvasPanel {
public:
    static constexpr const char* kNothingNeedsAttention = "All devices answering, nothing unsent";

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
    void AfterDraw(wxGraphicsContext* gc) override;
    bool TakesMouse(const wxMouseEvent& event) override;
    // Typed characters go to the find entry while it is open; "/" opens it.
    void OnCharEvent(wxKeyEvent& event) override;
    // The window's keys before any panel gets them (the main window's key hook): find and its
    // steps, the attention jumps. Keys stay with an open settings dialog; what is not used here
    // goes on.
    void OnWindowKey(wxKeyEvent& event);

    void OpenFind();
    // Closes the find entry and takes the outline away; the view stays where it is.
    void CloseFind();
    bool FindIsOpen() const;
    // The next (+1) or previous (-1) match becomes current and comes into view.
    void StepFind(int direction);
    // Jumps to the next (+1) or previous (-1) device in rack order that needs attention; says
    // on the status line when none does.
    void JumpToAttention(int direction);

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
    exFindBar* findBar;
    // Shows a passing note on the status line.
    std::function<void(const wxString&)> showNotice;

private:
    // Virtual height in pixels that lets the view scroll exactly to the rack's end.
    int ScrollRange(int totalHeight, int clientHeight) const;
    // Height of the stacked visible devices, gaps included.
    static int StackedHeight(const std::vector<exBaseNode*>& devices);
    // The scroll range for the rack's height and the room above it, at this position.
    void ApplyScrollRange(int position);
    // Room above the rack, in window pixels: the find bar's while it is open. The view keeps
    // what it shows.
    void SetTopRoom(int pixels);

    bool HandleKey(int code, int modifiers);
    bool HandleFindKey(int code, int modifiers);
    bool NeedsRepaint() const;
    exRackRoot* RackRoot() const;
    std::vector<exBaseNode*> VisibleDevices();
    // The find text changed: its first match comes into view.
    void OnFindEdited();
    // Matches again after the rack changed; the current match is brought back into view when
    // it changed or `reshow` asks.
    void RefreshFind(bool reshow);
    void ShowCurrentMatch();
    void HideOutline();
    // Outlines `device` and brings it into view.
    void JumpTo(exBaseNode* device);
    // Leaves the view alone while `device` (with its host, if it has one) is fully in view below
    // the find bar; else centres it there, or shows its top when it is taller than the view.
    void BringIntoView(const exBaseNode& device);

    int topRoom = 0;
    // The rack's height in canvas units, margins included, as last laid out.
    int rackHeight = 0;

    wxDECLARE_EVENT_TABLE();
};
