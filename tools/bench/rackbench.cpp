// Costs of the rack's two hot paths: a full repaint of many devices into an off-screen bitmap,
// and the handling of Kivnet replies from many devices. Run it under an X display inside a
// private network namespace (tools/in-private-net.sh xvfb-run ... rigwise-rack-bench); it opens
// no socket itself.
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/graphics.h>
#include <wx/init.h>

#include "common/appstate.h"
#include "common/deviceregistry.h"
#include "common/rackpanel.h"
#include "devices/basenode19inch.h"
#include "devices/dmxport.h"

namespace {

class BenchApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

// A rack panel in a hidden frame holding `count` online 19-inch devices with four DMX ports.
struct Rack {
    explicit Rack(int count)
    {
        frame = new wxFrame(nullptr, wxID_ANY, "bench", wxDefaultPosition, wxSize(800, 600));
        panel = new exRackPanel(frame, "Rack");
        panel->timer->Stop();
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

    wxFrame* frame;
    exRackPanel* panel;
};

void FullRepaint(benchmark::State& state)
{
    Rack rack(int(state.range(0)));
    wxBitmap bitmap(800, 600);
    for (auto _ : state) {
        wxMemoryDC dc(bitmap);
        std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
        gc->Translate(20, 20);
        rack.panel->root->Draw(gc.get());
    }
    state.SetLabel("800 x 600 window, as the rack paints");
}
BENCHMARK(FullRepaint)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// Every device drawn, visible or not: what a repaint would cost without the rack's culling.
void DrawEveryDevice(benchmark::State& state)
{
    Rack rack(int(state.range(0)));
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
BENCHMARK(DrawEveryDevice)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

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
    Rack rack(100);
    std::vector<exBaseNode*> devices;
    rack.panel->CollectDevices(devices, true);
    for (size_t i = 0; i < devices.size(); ++i)
        devices[i]->network.currentIp = 0x0AC90100 + uint32_t(i);
    std::vector<std::vector<uint8_t>> replies;
    for (uint8_t port = 0; port < 4; ++port)
        replies.push_back(PortReply(port));
    exDeviceRegistry registry(rack.panel->root, rack.panel);
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i) {
            const std::vector<uint8_t>& reply = replies[i % 4];
            exBaseNode* device = registry.FindByIp(0x0AC90100 + uint32_t(i % 100));
            device->HandleReply(reply.data(), reply.size());
        }
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(KivnetReplies)->Unit(benchmark::kMillisecond);

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
