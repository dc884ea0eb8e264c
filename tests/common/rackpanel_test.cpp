// The rack: stacking, zoom, the device list order and the 50 ms clock.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/graphics.h>

#include "common/appstate.h"
#include "common/rackpanel.h"
#include "devices/basenode.h"
#include "net/updatesocket.h"
#include "support/recordingendpoint.h"
#include "support/testudp.h"

using testing::ElementsAre;

namespace {

class RackPanelTest : public testing::Test {
protected:
    void SetUp() override
    {
        frame = new wxFrame(nullptr, wxID_ANY, "rack");
        rack = new exRackPanel(frame, "Rack");
        rack->timer->Stop(); // the tests drive the clock themselves
        frame->SetClientSize(1040, 600);
        frame->Show();
        PumpEventsFor(50);
        exAppState::updateSocket = &update;
        exAppState::autoScan = 1;
    }

    void TearDown() override
    {
        exAppState::updateSocket = nullptr;
        frame->Destroy();
        PumpEventsFor(20);
    }

    // A device of the given height (pixels), optionally carried by `host`.
    exBaseNode* Add(int height, exBaseNode* host = nullptr)
    {
        auto* device = new exBaseNode(rack->root, 0);
        device->height = height;
        device->host = host;
        device->OnAlive();
        rack->root->children->Append(device);
        return device;
    }

    std::vector<int> Positions()
    {
        std::vector<exBaseNode*> devices;
        rack->CollectDevices(devices, false);
        std::vector<int> y;
        for (const exBaseNode* device : devices)
            y.push_back(device->y);
        return y;
    }

    std::vector<exCanvasControl*> Order()
    {
        std::vector<exCanvasControl*> order;
        for (exCanvasControl* child : *rack->root->children)
            order.push_back(child);
        return order;
    }

    wxFrame* frame;
    exRackPanel* rack;
    RecordingEndpoint<exUpdateSocket> update;
};

} // namespace

TEST_F(RackPanelTest, DevicesStackWithGapsModulesCloseAndHiddenOnesTakeNoPlace)
{
    Add(1000);
    exBaseNode* hidden = Add(500);
    hidden->hidden = true;
    Add(600);
    Add(800);
    rack->PositionDevices();
    EXPECT_THAT(Positions(), ElementsAre(0, 1040, 1680));

    rack->Relayout();
    // 20 + 1000 + 40 + 600 + 40 + 800 + 20 = 2520 canvas units. The position counts canvas
    // units, so scrolled to the end the window shows the last client height / scale of them.
    const int client = rack->GetClientSize().y;
    int maxPosition = 0;
    rack->Scroll(0, 100000);
    maxPosition = rack->GetScrollPos(wxVERTICAL);
    EXPECT_NEAR(maxPosition + client / rack->canvasScale, 2520, 1.0);
}

TEST_F(RackPanelTest, ModulesSitRightUnderTheirCarrier)
{
    exBaseNode* carrier = Add(70);
    Add(70, carrier);
    Add(70, carrier);
    rack->PositionDevices();
    EXPECT_THAT(Positions(), ElementsAre(0, 75, 150));
}

TEST_F(RackPanelTest, ZoomFillsTheWidthButNeverShrinks)
{
    const int clientWidth = rack->GetClientSize().x;
    ASSERT_GT(clientWidth, 800);
    exBaseNode* device = Add(100);
    device->width = 770;
    rack->Relayout();
    EXPECT_DOUBLE_EQ(rack->canvasScale, (clientWidth - 40.0) / 770);

    device->width = clientWidth + 100;
    rack->Relayout();
    EXPECT_DOUBLE_EQ(rack->canvasScale, 1.0);

    device->hidden = true;
    rack->Relayout();
    EXPECT_DOUBLE_EQ(rack->canvasScale, 1.0);
    EXPECT_EQ(rack->GetScrollLines(wxVERTICAL), 0) << "no scroll range without devices";
}

TEST_F(RackPanelTest, RelayoutReturnsTheViewToTheTop)
{
    for (int i = 0; i < 10; ++i)
        Add(200);
    rack->Relayout();
    rack->Scroll(0, 300);
    ASSERT_GT(rack->GetScrollPos(wxVERTICAL), 0);
    rack->Relayout();
    EXPECT_EQ(rack->GetScrollPos(wxVERTICAL), 0);
}

TEST_F(RackPanelTest, InsertAfterAnAnchorAndItsFollowers)
{
    exBaseNode* a = Add(10);
    exBaseNode* b = Add(10);
    exBaseNode* c = Add(10);
    exBaseNode* d = Add(10);
    rack->root->children->InsertAfter(a, 0, d);
    EXPECT_THAT(Order(), ElementsAre(a, d, b, c));
    rack->root->children->InsertAfter(d, 2, a);
    EXPECT_THAT(Order(), ElementsAre(d, b, c, a));
    rack->root->children->InsertAfter(c, 5, b);
    EXPECT_THAT(Order(), ElementsAre(d, c, a, b));

    exBaseNode stranger(nullptr, 0);
    rack->root->children->InsertAfter(&stranger, 0, c);
    EXPECT_THAT(Order(), ElementsAre(d, a, b, c));
}

TEST_F(RackPanelTest, ClockTicksEveryDeviceAndScansOnceASecond)
{
    exBaseNode* visible = Add(10);
    exBaseNode* hidden = Add(10);
    hidden->hidden = true;
    update.broadcastAddresses.Add("10.201.0.255");
    for (int tick = 0; tick < 19; ++tick)
        rack->Advance(50);
    EXPECT_TRUE(update.sent.empty());
    EXPECT_EQ(visible->aliveCountdown, 5000 - 19 * 50);
    EXPECT_EQ(hidden->aliveCountdown, 5000 - 19 * 50);

    rack->Advance(50);
    ASSERT_EQ(update.sent.size(), 3u);
    EXPECT_EQ(update.sent[0].Address(), "255.255.255.255");
    EXPECT_EQ(update.sent[1].Address(), "255.255.255.255");
    EXPECT_EQ(update.sent[2].Address(), "10.201.0.255");

    exAppState::autoScan = 0;
    for (int tick = 0; tick < 100; ++tick)
        rack->Advance(50);
    EXPECT_EQ(update.sent.size(), 3u);
    EXPECT_EQ(visible->aliveCountdown, 0);
    EXPECT_EQ(visible->connectionState, exBaseNode::kLost);
}

namespace {
// A device stand-in that counts how often it is painted.
class CountingControl : public exCanvasControl {
public:
    CountingControl(exCanvasControl* parent, int y) : exCanvasControl(parent, 0, 0, 100, 100, "")
    {
        this->y = y;
        height = 100;
    }
    wxSize Paint(wxGraphicsContext*) override
    {
        ++paints;
        return wxSize(width, height);
    }
    int paints = 0;
};
} // namespace

TEST_F(RackPanelTest, RepaintDrawsOnlyTheDevicesInView)
{
    std::vector<CountingControl*> devices;
    for (int y : {0, 550, 1000, 5000}) {
        devices.push_back(new CountingControl(rack->root, y));
        rack->root->children->Append(devices.back());
    }
    wxBitmap bitmap(800, 600);
    auto paintScrolledTo = [&](int scroll) {
        wxMemoryDC dc(bitmap);
        std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
        gc->Translate(20, 20 - scroll);
        rack->root->Draw(gc.get());
    };
    paintScrolledTo(0);
    EXPECT_EQ(devices[0]->paints, 1);
    EXPECT_EQ(devices[1]->paints, 1) << "partly in view";
    EXPECT_EQ(devices[2]->paints, 0);
    EXPECT_EQ(devices[3]->paints, 0);
    paintScrolledTo(4800);
    EXPECT_EQ(devices[3]->paints, 1);
    EXPECT_EQ(devices[0]->paints, 1);
}
