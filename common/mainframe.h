#pragma once

#include <cstdint>

#include <wx/frame.h>
#include <wx/timer.h>

class bxBaseNetEvent;
class bxBaseSocket;
class exControlPanel;
class exRackPanel;
class exRigCommands;

// The one main window: the control bar above the rack view, the status line, the one-second
// adapter refresh and the three UDP endpoints, whose datagrams it routes to their handlers.
class exMainFrame : public wxFrame {
public:
    static constexpr int kTimerId = 6000;
    static constexpr int kKivnetEventId = 6001;
    static constexpr int kArtNetEventId = 6002;
    static constexpr int kUpdateEventId = 6003;
    static constexpr int kRefreshIntervalMs = 1000;
    static constexpr int kMinWidth = 810;
    static constexpr int kMinHeight = 500;
    static constexpr const char* kArtNetOffText = "IDs off: started with --no-artnet";

    explicit exMainFrame(const wxString& title);
    ~exMainFrame() override;

    void ExitProgram();
    // What standard error says about a port that could not be opened (`error`: an errno value),
    // with the way round it for Art-Net.
    static wxString PortFailureText(uint16_t port, int error);
    // Shows the device count in the status line once the datagrams at hand are handled.
    void ShowItemCount(const wxString& text);
    // Shows a passing note in the status line's second field for kNoticeMs, then what it held.
    void ShowNotice(const wxString& text);

    static constexpr int kNoticeTimerId = 6004;
    static constexpr int kNoticeMs = 4000;

    wxTimer* timer;
    wxTimer* noticeTimer;
    exControlPanel* controlPanel;
    exRackPanel* rackPanel;
    exRigCommands* rigCommands;

private:
    void ComputeScaleFactor();
    void BuildPanels();
    bool OpenEndpoints();
    bool OpenEndpoint(bxBaseSocket& endpoint, uint16_t port);
    void DisableEndpoints();
    void ShutDownAfterFailedStart();

    void OnExitCommand(wxCommandEvent& event);
    // Ctrl+S and Ctrl+O, unless a dialog over the rack has the keyboard.
    void OnCharHook(wxKeyEvent& event);
    void OnRefreshTimer(wxTimerEvent& event);
    void OnNoticeTimer(wxTimerEvent& event);
    void OnKivnetData(bxBaseNetEvent& event);
    void OnArtNetData(bxBaseNetEvent& event);
    void OnUpdateData(bxBaseNetEvent& event);

    wxString pendingItemCount;
    bool itemCountQueued = false;
    wxString textUnderNotice;

    wxDECLARE_EVENT_TABLE();
};
