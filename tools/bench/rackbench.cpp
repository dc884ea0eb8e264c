// Costs of the rack's hot paths: a full repaint of many devices into an off-screen bitmap, the
// handling of Kivnet replies from many devices, and a keystroke in the find entry. Run it under
// an X display inside a private network namespace (tools/in-private-net.sh xvfb-run ...
// rigwise-rack-bench); it opens no socket itself.
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/graphics.h>
#include <wx/init.h>

#include "common/appstate.h"
#include "common/controls/keys.h"
#include "common/rackpanel.h"
#include "devices/basenode19inch.h"
#include "devices/dmxport.h"
#include "devices/modelcatalogue.h"
#include "discovery/deviceregistry.h"
#include "discovery/localadapters.h"

namespace {

class BenchApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

const uint16_t kModelCodes[] = {0x0103, 0x0106, 0x0107, 0x0108, 0x0109, 0x010A,
                                0x0111, 0x0203, 0x0318, 0x0319, 0x2024, 0x300E};

// A rack panel in a hidden frame holding `count` online devices: plain 19-inch units with four
// DMX ports, or the real models in turn.
struct Rack {
    Rack(int count, bool realModels)
    {
        frame = new wxFrame(nullptr, wxID_ANY, "bench", wxDefaultPosition, wxSize(800, 600));
        panel = new exRackPanel(frame, "Rack");
        panel->timer->Stop();
        if (realModels) {
            AddRealModels(count);
            return;
        }
        for (int i = 0; i < count; ++i) {
            auto* device = new exBaseNode19Inch(panel->root, 4);
            device->title = "Pylon NodeDelta";
            device->network.currentIp = 0; // address 0 counts as reachable: ports are drawn
            device->network.ipText = "0.0.0.0";
            device->OnAlive();
            for (int port = 0; port < 4; ++port) {
                device->dmxPorts[port]->x = int((685 - 50 * port) * device->displayScale);
                device->dmxPorts[port]->y = int(75 * device->displayScale);
                device->dmxPorts[port]->mode = exDMXPort::kOutput;
                device->dmxPorts[port]->SetUniverseCode(uint16_t(0x0200 + port));
            }
            panel->root->children->Append(device);
        }
        panel->PositionDevices();
    }
    ~Rack() { frame->Destroy(); }

    void AddRealModels(int count)
    {
        for (int i = 0; i < count; ++i) {
            exBaseNode* device = exModelCatalogue::Create(kModelCodes[i % 12], panel->root);
            device->hidden = false; // as after their first settings reply
            device->network.modelCode = kModelCodes[i % 12];
            device->network.unitNumber = uint16_t(i);
            device->network.currentIp = 0x0AC90100 + uint32_t(i);
            device->network.ipText = "10.201.1.1";
            device->network.maskText = "255.255.0.0";
            device->deviceName = "Bench device";
            device->OnAlive();
            for (exDMXPort* port : device->dmxPorts) {
                port->mode = exDMXPort::kOutput;
                port->SetUniverseCode(0x0300 + uint16_t(i));
            }
            panel->root->children->Append(device);
        }
        panel->PositionDevices();
        // Reachable: the bench's adapter holds the devices' subnet.
        exLocalAdapters::Instance().Build({{0x0AC90001, 0xFFFF0000}});
    }

    wxFrame* frame;
    exRackPanel* panel;
};

void FullRepaint(benchmark::State& state)
{
    Rack rack(int(state.range(0)), state.range(1) != 0);
    wxBitmap bitmap(800, 600);
    for (auto _ : state) {
        wxMemoryDC dc(bitmap);
        std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
        gc->Translate(20, 20);
        rack.panel->root->Draw(gc.get());
    }
    state.SetLabel("800 x 600 window, as the rack paints");
}
BENCHMARK(FullRepaint)
    ->ArgsProduct({{100, 1000}, {0, 1}})
    ->ArgNames({"devices", "models"})
    ->Unit(benchmark::kMillisecond);

// Every device drawn, visible or not: what a repaint would cost without the rack's culling.
void DrawEveryDevice(benchmark::State& state)
{
    Rack rack(int(state.range(0)), state.range(1) != 0);
    std::vector<exBaseNode*> devices;
    rack.panel->CollectDevices(devices, true);
    wxBitmap bitmap(800, 600);
    for (auto _ : state) {
        wxMemoryDC dc(bitmap);
        std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
        for (exBaseNode* device : devices) {
            gc->PushState();
            gc->Translate(20, 20 - device->y);
            device->Draw(gc.get());
            gc->PopState();
        }
    }
}
BENCHMARK(DrawEveryDevice)
    ->ArgsProduct({{100, 1000}, {0, 1}})
    ->ArgNames({"devices", "models"})
    ->Unit(benchmark::kMillisecond);

std::vector<uint8_t> PortReply(uint8_t wirePort)
{
    std::vector<uint8_t> reply(164, 0);
    const uint8_t header[] = {0x00, 0x36, 0x93, 0x16, 0x00, 0x01, 0x80, 0x31};
    std::copy(std::begin(header), std::end(header), reply.begin());
    reply[8] = wirePort;
    reply[9] = 2;     // output
    reply[12] = 0x03; // sACN
    reply[13] = wirePort;
    return reply;
}

// 10,000 port settings replies spread over a rack of 100 devices, each found by its sender's
// address as the main window does it.
void KivnetReplies(benchmark::State& state)
{
    Rack rack(100, state.range(0) != 0);
    std::vector<exBaseNode*> devices;
    rack.panel->CollectDevices(devices, true);
    for (size_t i = 0; i < devices.size(); ++i)
        devices[i]->network.currentIp = 0x0AC90100 + uint32_t(i);
    std::vector<std::vector<uint8_t>> replies;
    for (uint8_t port = 0; port < 4; ++port)
        replies.push_back(PortReply(port));
    exDeviceRegistry registry(rack.panel->root);
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i) {
            const std::vector<uint8_t>& reply = replies[i % 4];
            exBaseNode* device = registry.FindByIp(0x0AC90100 + uint32_t(i % 100));
            device->HandleReply(reply.data(), reply.size());
        }
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(KivnetReplies)->Arg(0)->Arg(1)->ArgName("models")->Unit(benchmark::kMillisecond);

std::vector<uint8_t> DiscoveryReply(uint16_t modelCode, uint16_t unit, uint32_t ip)
{
    std::vector<uint8_t> reply(50, 0);
    const uint8_t header[] = {'M', '-', 'R', 0, 0x00, 0x11, 0x00, 0x00};
    std::copy(std::begin(header), std::end(header), reply.begin());
    reply[32] = uint8_t(unit >> 8);
    reply[33] = uint8_t(unit);
    for (int i = 0; i < 4; ++i)
        reply[40 + i] = uint8_t(ip >> (24 - 8 * i));
    reply[44] = 255;
    reply[45] = 255;
    reply[48] = uint8_t(modelCode >> 8);
    reply[49] = uint8_t(modelCode);
    return reply;
}

// One second of a show network: 300 devices that are already known answer the discovery
// request, each reply looked up by model and unit and taken in.
void DiscoveryRound(benchmark::State& state)
{
    Rack rack(0, true);
    exDeviceRegistry registry(rack.panel->root);
    std::vector<std::vector<uint8_t>> replies;
    for (int i = 0; i < 300; ++i)
        replies.push_back(DiscoveryReply(kModelCodes[i % 12], uint16_t(i), 0x0AC90100 + i));
    for (const auto& reply : replies) // the first round creates them
        registry.HandleDiscoveryReply(reply.data(), reply.size(), 0);
    for (auto _ : state)
        for (const auto& reply : replies)
            registry.HandleDiscoveryReply(reply.data(), reply.size(), 0);
    state.SetItemsProcessed(state.iterations() * 300);
}
BENCHMARK(DiscoveryRound)->Unit(benchmark::kMillisecond);

// A rack of `count` real models named "Bench unit 0", "Bench unit 1", ..., with the find entry
// open and holding `text`.
struct FindRack : Rack {
    FindRack(int count, const wxString& text) : Rack(count, true)
    {
        frame->SetClientSize(1000, 640);
        std::vector<exBaseNode*> devices;
        panel->CollectDevices(devices, true);
        for (size_t i = 0; i < devices.size(); ++i)
            devices[i]->deviceName = wxString::Format("Bench unit %zu", i);
        panel->Relayout();
        panel->OpenFind();
        for (wxChar character : text)
            Type(character);
    }
    // A character as the focused rack gets it from the toolkit.
    void Type(wxChar character)
    {
        wxKeyEvent typed(wxEVT_CHAR);
        typed.m_keyCode = character;
        typed.m_uniChar = character;
        panel->OnCharEvent(typed);
    }
};

// One keystroke in the find entry over 1000 devices: the text grows by a character or loses
// one, every device is matched again and the view scrolls to the first match ("Bench unit 99"
// near the top, "Bench unit 997" near the end, in turn).
void FindKeystroke(benchmark::State& state)
{
    FindRack rack(int(state.range(0)), "unit 99");
    int scrolled = 0;
    for (auto _ : state) {
        rack.Type('7');
        scrolled += rack.panel->GetScrollPos(wxVERTICAL);
        rack.Type(exKeys::kBackspace);
    }
    if (scrolled == 0)
        state.SkipWithError("the view did not move");
    state.SetItemsProcessed(state.iterations() * 2);
    state.SetLabel("per item: one keystroke");
}
BENCHMARK(FindKeystroke)->Arg(1000)->ArgName("devices")->Unit(benchmark::kMicrosecond);

// One tick of the rack's 50 ms clock over 1000 devices, with the find entry closed (0) or open
// (1): open, every device is matched again in case one was renamed or readdressed.
void RackTick(benchmark::State& state)
{
    FindRack rack(1000, "unit 5");
    if (state.range(0) == 0)
        rack.panel->CloseFind();
    for (auto _ : state)
        rack.panel->Advance(0);
}
BENCHMARK(RackTick)->Arg(0)->Arg(1)->ArgName("find")->Unit(benchmark::kMicrosecond);

} // namespace

wxIMPLEMENT_APP_NO_MAIN(BenchApp);

int main(int argc, char** argv)
{
    wxApp::SetInstance(new BenchApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
        return 1;
    exAppState::scaleFactor = exCanvasControl::ScreenDisplayScale();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
