#pragma once

#include <vector>

#include "discovery/deviceregistry.h"
#include "net/artnetsocket.h"
#include "net/kivnetsocket.h"
#include "net/updatesocket.h"
#include "support/recordingendpoint.h"

class exBaseNode;
class exCanvasControl;
class exRackPanel;
class wxFrame;

// The program's rack window, hidden, with its three endpoints replaced by recording ones: what a
// harness feeds goes through the program's own handlers into a real rack panel, and what the
// program would send is kept instead of sent. One computer address, 10.201.0.1/24, is local.
class FuzzRack {
public:
    static constexpr uint32_t kLocalAddress = 0x0AC90001; // 10.201.0.1
    static constexpr uint32_t kLocalMask = 0xFFFFFF00;
    static constexpr uint32_t kBroadcastAddress = kLocalAddress | ~kLocalMask; // 10.201.0.255

    FuzzRack();
    ~FuzzRack();
    FuzzRack(const FuzzRack&) = delete;
    FuzzRack& operator=(const FuzzRack&) = delete;

    // An empty rack again, the control bar's switches as at start, nothing recorded.
    void Reset();
    exDeviceRegistry Registry();
    // The rack's root control: the devices' parent, and where dialogs open.
    exCanvasControl* Root() const;
    exRackPanel* Panel() const { return rack; }
    // Every device in rack order, hidden ones and modules included.
    std::vector<exBaseNode*> Devices() const;
    // Ticks of the rack's clock for every device, as the rack panel's timer gives them.
    void Tick(int count = 1);

    RecordingEndpoint<bxKivnetSocket> kivnet;
    RecordingEndpoint<bxArtNetSocket> artNet;
    RecordingEndpoint<exUpdateSocket> update;
    // What the status line would show last; empty when nothing was shown.
    wxString status;

private:
    wxFrame* frame;
    exRackPanel* rack;
};
