#include "fuzzrack.h"

#include <wx/frame.h>

#include "common/appstate.h"
#include "common/rackpanel.h"
#include "devices/basenode.h"
#include "discovery/localadapters.h"

FuzzRack::FuzzRack()
{
    frame = new wxFrame(nullptr, wxID_ANY, "rack");
    rack = new exRackPanel(frame, "Rack");
    // Only the harness moves the clock.
    rack->timer->Stop();
    exAppState::kivnetSocket = &kivnet;
    exAppState::artNetSocket = &artNet;
    exAppState::updateSocket = &update;
    exLocalAdapters& adapters = exLocalAdapters::Instance();
    adapters.Build({{kLocalAddress, kLocalMask}});
    // The adapter table derives the rack's one directed broadcast address from the pair above.
    for (bxBaseSocket* endpoint :
         {static_cast<bxBaseSocket*>(&kivnet), static_cast<bxBaseSocket*>(&artNet),
          static_cast<bxBaseSocket*>(&update)})
        endpoint->broadcastAddresses = adapters.broadcastAddresses;
}

FuzzRack::~FuzzRack()
{
    exAppState::kivnetSocket = nullptr;
    exAppState::artNetSocket = nullptr;
    exAppState::updateSocket = nullptr;
    exLocalAdapters::Instance().Build({});
    frame->Destroy();
}

void FuzzRack::Reset()
{
    rack->Clear();
    exAppState::autoScan = 1;
    exAppState::autoSend = 1;
    kivnet.sent.clear();
    artNet.sent.clear();
    update.sent.clear();
    status.clear();
}

exDeviceRegistry FuzzRack::Registry()
{
    exDeviceRegistry registry(rack->root);
    registry.showStatus = [this](const wxString& text) { status = text; };
    return registry;
}

exCanvasControl* FuzzRack::Root() const
{
    return rack->root;
}

std::vector<exBaseNode*> FuzzRack::Devices() const
{
    std::vector<exBaseNode*> devices;
    rack->CollectDevices(devices, true);
    return devices;
}

void FuzzRack::Tick(int count)
{
    for (int tick = 0; tick < count; ++tick)
        rack->Advance(exRackPanel::kTickMs);
}
