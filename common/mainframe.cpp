#include "common/mainframe.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>

#include "common/appstate.h"
#include "common/controlpanel.h"
#include "common/controls/canvascolours.h"
#include "common/controls/canvascontrol.h"
#include "common/displayscale.h"
#include "common/rackpanel.h"
#include "common/rigcommands.h"
#include "discovery/deviceregistry.h"
#include "discovery/localadapters.h"
#include "net/artnetprotocol.h"
#include "net/artnetsocket.h"
#include "net/basenetevent.h"
#include "net/kivnetsocket.h"
#include "net/updateprotocol.h"
#include "net/updatesocket.h"

#include "resources/rigwiseicon.xpm"

// clang-format off
wxBEGIN_EVENT_TABLE(exMainFrame, wxFrame)
    EVT_MENU(wxID_EXIT, exMainFrame::OnExitCommand)
    EVT_CHAR_HOOK(exMainFrame::OnCharHook)
    EVT_TIMER(exMainFrame::kTimerId, exMainFrame::OnRefreshTimer)
    EVT_NET_DATAGRAM(exMainFrame::kKivnetEventId, exMainFrame::OnKivnetData)
    EVT_NET_DATAGRAM(exMainFrame::kArtNetEventId, exMainFrame::OnArtNetData)
    EVT_NET_DATAGRAM(exMainFrame::kUpdateEventId, exMainFrame::OnUpdateData)
wxEND_EVENT_TABLE()
    // clang-format on

    exMainFrame::exMainFrame(const wxString& title)
    : wxFrame(nullptr, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, wxDEFAULT_FRAME_STYLE,
              "frame")
{
    timer = new wxTimer(this, kTimerId);
    noticeTimer = new wxTimer(this, kNoticeTimerId);
    Bind(wxEVT_TIMER, &exMainFrame::OnNoticeTimer, this, kNoticeTimerId);
    SetBackgroundColour(*wxBLACK);
    SetIcon(wxIcon(rigwise_icon_xpm));
    ComputeScaleFactor();
    BuildPanels();

    if (!OpenEndpoints())
        ShutDownAfterFailedStart();

    Fit();
    const wxSize size(int(kMinWidth * exAppState::scaleFactor),
                      int(kMinHeight * exAppState::scaleFactor));
    SetMinSize(size);
    SetSize(size);

    CreateStatusBar(2, wxSTB_DEFAULT_STYLE, 0, "status_line");
    SetStatusText("0 Items Detected", 0);
    // The count takes the first field; this stays in the second.
    if (exAppState::artNetOff)
        SetStatusText(kArtNetOffText, 1);

    timer->Start(kRefreshIntervalMs, wxTIMER_CONTINUOUS);
    exAppState::mainFrame = this;
}

exMainFrame::~exMainFrame()
{
    timer->Stop();
    delete exAppState::kivnetSocket;
    exAppState::kivnetSocket = nullptr;
    delete exAppState::artNetSocket;
    exAppState::artNetSocket = nullptr;
    delete exAppState::updateSocket;
    exAppState::updateSocket = nullptr;
    delete timer;
    delete rigCommands;
    delete noticeTimer;
    if (exAppState::mainFrame == this)
        exAppState::mainFrame = nullptr;
}

void exMainFrame::OnCharHook(wxKeyEvent& event)
{
    const bool dialogOpen = rackPanel->root && rackPanel->root->overlay;
    if (event.GetModifiers() == wxMOD_CONTROL && !dialogOpen) {
        if (event.GetKeyCode() == 'S') {
            rigCommands->SaveRig();
            return;
        }
        if (event.GetKeyCode() == 'O') {
            rigCommands->LoadRig();
            return;
        }
    }
    event.Skip();
}

void exMainFrame::ComputeScaleFactor()
{
    exAppState::scaleFactor = exDisplayScale::Measure(this);
}

void exMainFrame::BuildPanels()
{
    wxBoxSizer* sizer = new wxBoxSizer(wxVERTICAL);
    controlPanel = new exControlPanel(this);
    rackPanel = new exRackPanel(this, "Rack");
    sizer->Add(controlPanel, 0, wxEXPAND | wxALL, 0);
    sizer->Add(rackPanel, 1, wxEXPAND | wxALL, 0);
    exAppState::autoScan = 1;
    exAppState::autoSend = 1;
    rackPanel->SetBackgroundColour(exCanvasColours::kDarkGrey);
    rigCommands = new exRigCommands(rackPanel, controlPanel);
    // The file dialog opens once the button's press has been handled.
    controlPanel->saveRig = [this] { CallAfter([this] { rigCommands->SaveRig(); }); };
    controlPanel->loadRig = [this] { CallAfter([this] { rigCommands->LoadRig(); }); };
    rackPanel->showNotice = [this](const wxString& text) { ShowNotice(text); };
    // Find and the attention keys work wherever the keyboard focus is; the keys they leave go
    // on to Ctrl+S and Ctrl+O (OnCharHook).
    Bind(wxEVT_CHAR_HOOK, &exRackPanel::OnWindowKey, rackPanel);
    SetSizer(sizer);
    Layout();
}

bool exMainFrame::OpenEndpoints()
{
    // All are opened even after a failure, so that every port is tried once.
    exAppState::kivnetSocket = new bxKivnetSocket(this, kKivnetEventId);
    bool open = OpenEndpoint(*exAppState::kivnetSocket, bxKivnetSocket::kPort);
    if (!exAppState::artNetOff) {
        exAppState::artNetSocket = new bxArtNetSocket(this, kArtNetEventId);
        open = OpenEndpoint(*exAppState::artNetSocket, bxArtNetSocket::kPort) && open;
    }
    exAppState::updateSocket = new exUpdateSocket(this, kUpdateEventId);
    return OpenEndpoint(*exAppState::updateSocket, exUpdateSocket::kPort) && open;
}

bool exMainFrame::OpenEndpoint(bxBaseSocket& endpoint, uint16_t port)
{
    if (endpoint.Open(port))
        return true;
    std::fputs(PortFailureText(port, endpoint.openError).utf8_str(), stderr);
    return false;
}

wxString exMainFrame::PortFailureText(uint16_t port, int error)
{
    wxString name = "update port";
    if (port == bxKivnetSocket::kPort)
        name = "Kivnet";
    else if (port == bxArtNetSocket::kPort)
        name = "Art-Net";
    wxString text = wxString::Format("merrow-rigwise: UDP port %u (%s) ", unsigned(port), name);
    if (error == EADDRINUSE)
        text << "is held by another program\n";
    else if (error != 0)
        text << "could not be opened: " << std::strerror(error) << "\n";
    else
        text << "could not be opened\n";
    if (port == bxArtNetSocket::kPort)
        text << "merrow-rigwise: --no-artnet starts the program without it "
                "(device IDs are then unknown)\n";
    return text;
}

void exMainFrame::ShutDownAfterFailedStart()
{
    exAppState::updateSocket->disabled = 1;
    wxMessageDialog dialog(this,
                           "Could not initialize all sockets. Please make sure that you are not "
                           "running Pylon or Firmware Updater simultaniously.",
                           "Oops!", wxOK | wxICON_ERROR);
    dialog.ShowModal();
    DisableEndpoints();
    Close(true);
}

void exMainFrame::ExitProgram()
{
    DisableEndpoints();
    Close(true);
}

void exMainFrame::DisableEndpoints()
{
    bxBaseSocket* endpoints[] = {exAppState::artNetSocket, exAppState::kivnetSocket,
                                 exAppState::updateSocket};
    for (bxBaseSocket* endpoint : endpoints)
        if (endpoint)
            endpoint->disabled = 1;
}

void exMainFrame::ShowItemCount(const wxString& text)
{
    // A new status text makes the toolkit repaint the bar at once and wait for the X server:
    // a rig answering its first discovery request would wait for it once per device. Only the
    // last count of a batch is shown.
    pendingItemCount = text;
    if (itemCountQueued)
        return;
    itemCountQueued = true;
    CallAfter([this] {
        itemCountQueued = false;
        SetStatusText(pendingItemCount, 0);
    });
}

void exMainFrame::ShowNotice(const wxString& text)
{
    if (!GetStatusBar())
        return;
    if (!noticeTimer->IsRunning())
        textUnderNotice = GetStatusBar()->GetStatusText(1);
    SetStatusText(text, 1);
    noticeTimer->StartOnce(kNoticeMs);
}

void exMainFrame::OnNoticeTimer(wxTimerEvent&)
{
    SetStatusText(textUnderNotice, 1);
}

void exMainFrame::OnExitCommand(wxCommandEvent&)
{
    Close(true);
}

void exMainFrame::OnRefreshTimer(wxTimerEvent&)
{
    RefreshAdapters();
}

void exMainFrame::OnKivnetData(bxBaseNetEvent& event)
{
    exDeviceRegistry registry(rackPanel->root);
    registry.HandleKivnetReply(event.data, event.length, event.senderIp);
}

void exMainFrame::OnArtNetData(bxBaseNetEvent& event)
{
    exDeviceRegistry registry(rackPanel->root);
    registry.HandleArtNetReply(event.data, event.length, event.senderIp);
}

void exMainFrame::OnUpdateData(bxBaseNetEvent& event)
{
    exDeviceRegistry registry(rackPanel->root);
    registry.showStatus = [this](const wxString& text) { ShowItemCount(text); };
    registry.HandleDiscoveryReply(event.data, event.length, event.senderIp);
}
