// The control bar: the Scan and Update pairs, the logo, Exit and their layout, pressed the way
// the user presses them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/frame.h>

#include "common/appstate.h"
#include "common/controlpanel.h"
#include "common/controls/canvasbitmapbutton.h"
#include "common/controls/canvasbutton.h"
#include "common/controls/canvasswitch.h"
#include "common/controls/switchandbutton.h"
#include "common/mainframe.h"
#include "common/rackpanel.h"
#include "devices/basenode.h"
#include "net/artnetsocket.h"
#include "net/kivnetsocket.h"
#include "net/updatesocket.h"
#include "support/canvasevents.h"
#include "support/readback.h"
#include "support/recordingendpoint.h"
#include "support/testudp.h"

using testing::ElementsAre;

namespace {

class ControlPanelTest : public testing::Test {
protected:
    void SetUp() override
    {
        frame = new exMainFrame("Merrow Rigwise 1.16");
        frame->Show();
        frame->rackPanel->timer->Stop();
        PumpEventsFor(100);
        bar = frame->controlPanel;
        // The bar talks through recording endpoints while the test runs.
        realArtNet = exAppState::artNetSocket;
        realKivnet = exAppState::kivnetSocket;
        realUpdate = exAppState::updateSocket;
        exAppState::artNetSocket = &artNet;
        exAppState::kivnetSocket = &kivnet;
        exAppState::updateSocket = &update;
        artNet.broadcastAddresses.Add("10.201.0.255");
        update.broadcastAddresses.Add("10.201.0.255");
        bar->openAddress = [this](const wxString& address) { opened.push_back(address); };
        PaintToImage(*bar->root, 800, 60); // the pairs take their size at the first paint
    }

    void TearDown() override
    {
        exAppState::artNetSocket = realArtNet;
        exAppState::kivnetSocket = realKivnet;
        exAppState::updateSocket = realUpdate;
        if (!wxTheApp->IsScheduledForDestruction(frame))
            frame->Close(true);
        PumpEventsUntil([] { return exAppState::mainFrame == nullptr; }, 2000);
    }

    // A left press in the middle of `control`, then the pointer moves on, as a user's click.
    void Press(exCanvasControl* control)
    {
        int x = control->width / 2, y = control->height / 2;
        for (exCanvasControl* c = control; c; c = c->parent) {
            x += c->x;
            y += c->y;
        }
        for (wxMouseEvent event : {PressAt(x, y), MoveTo(x, y)}) {
            event.SetEventObject(bar);
            bar->ProcessWindowEvent(event);
        }
    }

    exBaseNode* AddDevice(uint32_t ip, bool modified, bool hidden = false)
    {
        auto* device = new exBaseNode(frame->rackPanel->root, 1);
        device->network.currentIp = ip;
        device->network.newIp = ip;
        device->modified = modified;
        device->hidden = hidden;
        MarkReadBack(*device);
        frame->rackPanel->root->children->Append(device);
        return device;
    }

    exMainFrame* frame;
    exControlPanel* bar;
    bxArtNetSocket* realArtNet;
    bxKivnetSocket* realKivnet;
    exUpdateSocket* realUpdate;
    RecordingEndpoint<bxArtNetSocket> artNet;
    RecordingEndpoint<bxKivnetSocket> kivnet;
    RecordingEndpoint<exUpdateSocket> update;
    std::vector<wxString> opened;
};

} // namespace

TEST_F(ControlPanelTest, StartsScanningAndSendingWithTheManualButtonsGreyed)
{
    std::vector<exCanvasControl*> order;
    for (exCanvasControl* child : *bar->root->children)
        order.push_back(child);
    EXPECT_THAT(order, ElementsAre(bar->logo, bar->scanPair, bar->saveRigButton, bar->loadRigButton,
                                   bar->updatePair, bar->exitButton));
    EXPECT_TRUE(bar->scanPair->switchControl->on);
    EXPECT_TRUE(bar->updatePair->switchControl->on);
    EXPECT_FALSE(bar->scanPair->button->enabled);
    EXPECT_FALSE(bar->updatePair->button->enabled);
    EXPECT_EQ(bar->GetName(), "Control");

    AddDevice(0x0AC90042, true);
    Press(bar->updatePair->button);
    Press(bar->scanPair->button);
    EXPECT_TRUE(kivnet.sent.empty());
    EXPECT_TRUE(artNet.sent.empty());
}

TEST_F(ControlPanelTest, UpdateSendsPendingChangesOfVisibleDevicesInRackOrder)
{
    exBaseNode* first = AddDevice(0x0AC90041, true);
    AddDevice(0x0AC90042, false);
    exBaseNode* hidden = AddDevice(0x0AC90043, true, true);
    exBaseNode* third = AddDevice(0x0AC90044, true);

    Press(bar->updatePair->switchControl);
    EXPECT_EQ(exAppState::autoSend, 0);
    EXPECT_TRUE(bar->updatePair->button->enabled);

    testing::internal::CaptureStdout();
    Press(bar->updatePair->button);
    testing::internal::GetCapturedStdout();
    std::vector<wxString> targets;
    for (const auto& sent : kivnet.sent)
        targets.push_back(sent.Address());
    // Device settings and the one DMX port of each changed visible device, in rack order.
    EXPECT_THAT(targets, ElementsAre("10.201.0.65", "10.201.0.65", "10.201.0.68", "10.201.0.68"));
    EXPECT_EQ(update.sent.size(), 2u) << "network settings of both";
    EXPECT_FALSE(first->modified);
    EXPECT_FALSE(third->modified);
    EXPECT_TRUE(hidden->modified);

    Press(bar->updatePair->switchControl);
    EXPECT_EQ(exAppState::autoSend, 1);
    EXPECT_FALSE(bar->updatePair->button->enabled);
}

TEST_F(ControlPanelTest, ScanSwitchStopsDiscoveryAndScanPollsOnce)
{
    Press(bar->scanPair->switchControl);
    EXPECT_EQ(exAppState::autoScan, 0);
    for (int tick = 0; tick < 40; ++tick)
        frame->rackPanel->Advance(50);
    EXPECT_TRUE(update.sent.empty()) << "no discovery while Auto Scan is off";

    Press(bar->scanPair->button);
    ASSERT_EQ(artNet.sent.size(), 1u);
    EXPECT_EQ(artNet.sent[0].Address(), "10.201.0.255");
    EXPECT_THAT(artNet.sent[0].bytes,
                ElementsAre('A', 'r', 't', '-', 'N', 'e', 't', 0, 0x00, 0x20, 0x00, 0x0E, 0x03, 0));

    Press(bar->scanPair->switchControl);
    EXPECT_EQ(exAppState::autoScan, 1);
}

TEST_F(ControlPanelTest, LogoOpensTheUserGuide)
{
    Press(bar->logo);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(opened[0].StartsWith("file://"));
    EXPECT_TRUE(opened[0].EndsWith("docs/user-guide.html"));
    EXPECT_TRUE(wxFileExists(opened[0].Mid(7)));
}

TEST_F(ControlPanelTest, ExitAndUpdateFollowTheRightEdge)
{
    const float s = exAppState::scaleFactor;
    for (int width : {777, 1200}) {
        frame->SetSize(width, 480);
        PumpEventsFor(50);
        bar->Relayout();
        const int client = bar->GetClientSize().x;
        EXPECT_EQ(bar->exitButton->x, int(client - bar->exitButton->width - 20 * s));
        EXPECT_EQ(bar->updatePair->x, int(bar->exitButton->x - (10 * s + bar->updatePair->width)));
        EXPECT_EQ(bar->scanPair->x, int(110 * s));
        EXPECT_EQ(bar->logo->x, int(7 * s));
    }
}

TEST_F(ControlPanelTest, RigButtonsSitBetweenTheScanAndUpdatePairsAndAct)
{
    int saves = 0, loads = 0;
    bar->saveRig = [&saves] { ++saves; };
    bar->loadRig = [&loads] { ++loads; };
    frame->SetSize(int(exMainFrame::kMinWidth * exAppState::scaleFactor), 480);
    PumpEventsFor(50);
    bar->Relayout();
    EXPECT_GT(bar->saveRigButton->x, bar->scanPair->x + bar->scanPair->width);
    EXPECT_GT(bar->loadRigButton->x, bar->saveRigButton->x + bar->saveRigButton->width);
    EXPECT_LT(bar->loadRigButton->x + bar->loadRigButton->width, bar->updatePair->x)
        << "they fit at the window's smallest width";
    EXPECT_EQ(bar->saveRigButton->y, bar->scanPair->y);

    Press(bar->saveRigButton);
    Press(bar->loadRigButton);
    Press(bar->loadRigButton);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(loads, 2);

    bar->SetAutoUpdate(false);
    EXPECT_EQ(exAppState::autoSend, 0);
    EXPECT_TRUE(bar->updatePair->button->enabled);
    EXPECT_FALSE(bar->updatePair->switchControl->on);
}

TEST_F(ControlPanelTest, ExitEndsTheProgram)
{
    Press(bar->exitButton);
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(frame));
    EXPECT_TRUE(kivnet.disabled);
    EXPECT_TRUE(artNet.disabled);
    EXPECT_TRUE(update.disabled);
}

TEST(ControlPanelLayout, UpdatePairNeverCoversExitEvenBeforeTheFirstPaint)
{
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "bar", wxDefaultPosition, wxSize(777, 100));
    exControlPanel* bar = new exControlPanel(frame);
    bar->SetSize(777, 60);
    bar->Relayout();
    PaintToImage(*bar->root, 777, 60); // the pairs' widths as drawn
    EXPECT_LE(bar->updatePair->x + bar->updatePair->width, bar->exitButton->x);
    EXPECT_LE(bar->scanPair->x + bar->scanPair->width, bar->updatePair->x);
    frame->Destroy();
    PumpEventsFor(20);
}
