// The main window as the program starts it, in the test's private namespace on the real ports.
#include <cerrno>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/statusbr.h>

#include "common/appstate.h"
#include "common/controlpanel.h"
#include "common/mainframe.h"
#include "common/rackpanel.h"
#include "devices/basenode.h"
#include "discovery/localadapters.h"
#include "net/artnetsocket.h"
#include "net/kivnetsocket.h"
#include "net/updatesocket.h"
#include "support/dialogcatcher.h"
#include "support/testudp.h"

namespace {

const char* const kOopsText = "Could not initialize all sockets. Please make sure that you are not "
                              "running Pylon or Firmware Updater simultaniously.";

// Lets a closed frame finish its deferred destruction.
void LetFramesGo()
{
    PumpEventsUntil([] { return exAppState::mainFrame == nullptr && wxTopLevelWindows.empty(); },
                    2000);
}

} // namespace

TEST(MainFrame, StartsWithTitleSizeStatusAndOpenEndpoints)
{
    DialogCatcher dialogs;
    exMainFrame* frame = new exMainFrame("Merrow Rigwise 1.16");
    frame->Show();
    PumpEventsFor(100);

    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(frame->GetTitle(), "Merrow Rigwise 1.16");
    EXPECT_FLOAT_EQ(exAppState::scaleFactor, 0.96f);
    EXPECT_EQ(frame->GetSize(), wxSize(777, 480));
    EXPECT_EQ(frame->GetStatusBar()->GetFieldsCount(), 2);
    EXPECT_EQ(frame->GetStatusBar()->GetName(), "status_line");
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), "0 Items Detected");
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(1), "");
    EXPECT_EQ(frame->GetBackgroundColour(), *wxBLACK);
    EXPECT_EQ(frame->rackPanel->GetBackgroundColour(), wxColour(70, 70, 70));
    EXPECT_EQ(frame->rackPanel->GetName(), "Rack");
    EXPECT_EQ(frame->controlPanel->GetSize().y, 57); // 60 design units at 0.96
    EXPECT_GT(frame->rackPanel->GetSize().y, frame->controlPanel->GetSize().y);
    EXPECT_EQ(exAppState::autoScan, 1);
    EXPECT_EQ(exAppState::autoSend, 1);
    EXPECT_EQ(exAppState::mainFrame, frame);
    ASSERT_NE(exAppState::kivnetSocket, nullptr);
    EXPECT_EQ(exAppState::kivnetSocket->port, 6517);
    EXPECT_EQ(exAppState::artNetSocket->port, 6454);
    EXPECT_EQ(exAppState::updateSocket->port, 6464);
    EXPECT_TRUE(frame->timer->IsRunning());
    EXPECT_EQ(frame->timer->GetInterval(), 1000);

    frame->Close(true);
    LetFramesGo();
    EXPECT_EQ(exAppState::kivnetSocket, nullptr);
}

TEST(MainFrame, TimerHandsTheAdapterListsToEveryEndpoint)
{
    exMainFrame* frame = new exMainFrame("Merrow Rigwise 1.16");
    ASSERT_TRUE(PumpEventsUntil(
        [] { return !exAppState::updateSocket->broadcastAddresses.empty(); }, 2500));
    for (bxBaseSocket* endpoint : {static_cast<bxBaseSocket*>(exAppState::kivnetSocket),
                                   static_cast<bxBaseSocket*>(exAppState::artNetSocket),
                                   static_cast<bxBaseSocket*>(exAppState::updateSocket)}) {
        EXPECT_THAT(endpoint->broadcastAddresses, testing::Contains(wxString("10.201.0.255")));
        EXPECT_THAT(endpoint->ownAddresses, testing::Contains(0x0AC90001u));
    }
    frame->Close(true);
    LetFramesGo();
}

TEST(MainFrame, PortsHeldByAnotherCopyShowOopsOnceThenClose)
{
    // Another copy of the program holds all three ports (bound without address reuse).
    TestUdpSocket kivnet("0.0.0.0", 6517), artNet("0.0.0.0", 6454), update("0.0.0.0", 6464);
    ASSERT_TRUE(kivnet.ok() && artNet.ok() && update.ok());
    DialogCatcher dialogs;
    exMainFrame* frame = new exMainFrame("Merrow Rigwise 1.16");

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Oops!");
    EXPECT_EQ(dialogs.shown[0].message, kOopsText);
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(frame));
    EXPECT_TRUE(exAppState::kivnetSocket->disabled);
    EXPECT_TRUE(exAppState::artNetSocket->disabled);
    EXPECT_TRUE(exAppState::updateSocket->disabled);
    LetFramesGo();
    EXPECT_EQ(exAppState::mainFrame, nullptr);
}

TEST(MainFrame, OnePortHeldElsewhereIsEnoughForOopsAndStandardErrorNamesIt)
{
    TestUdpSocket otherProgram("0.0.0.0", 6454);
    ASSERT_TRUE(otherProgram.ok());
    DialogCatcher dialogs;
    testing::internal::CaptureStderr();
    exMainFrame* frame = new exMainFrame("Merrow Rigwise 1.16");
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Oops!");
    EXPECT_EQ(dialogs.shown[0].message, kOopsText);
    EXPECT_EQ(said, "merrow-rigwise: UDP port 6454 (Art-Net) is held by another program\n"
                    "merrow-rigwise: --no-artnet starts the program without it "
                    "(device IDs are then unknown)\n");
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(frame));
    LetFramesGo();
}

TEST(MainFrame, PortFailureTextNamesThePortAndWhy)
{
    struct Case {
        uint16_t port;
        int error;
        const char* text;
    } const cases[] = {
        {6517, EADDRINUSE, "merrow-rigwise: UDP port 6517 (Kivnet) is held by another program\n"},
        {6464, EADDRINUSE,
         "merrow-rigwise: UDP port 6464 (update port) is held by another program\n"},
        {6464, EACCES,
         "merrow-rigwise: UDP port 6464 (update port) could not be opened: "
         "Permission denied\n"},
        {6517, 0, "merrow-rigwise: UDP port 6517 (Kivnet) could not be opened\n"},
        {6454, EMFILE,
         "merrow-rigwise: UDP port 6454 (Art-Net) could not be opened: Too many "
         "open files\nmerrow-rigwise: --no-artnet starts the program without it "
         "(device IDs are then unknown)\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(exMainFrame::PortFailureText(c.port, c.error), c.text) << c.port << c.error;
}

TEST(MainFrame, WithoutArtNetThePortStaysFreeAndTheStatusLineSaysSo)
{
    exAppState::artNetOff = true;
    DialogCatcher dialogs;
    exMainFrame* frame = new exMainFrame("Merrow Rigwise 1.16");
    frame->Show();
    PumpEventsFor(100);
    // Another program may hold 6454 meanwhile.
    TestUdpSocket otherProgram("0.0.0.0", 6454);
    EXPECT_TRUE(otherProgram.ok());
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(exAppState::artNetSocket, nullptr);
    ASSERT_NE(exAppState::kivnetSocket, nullptr);
    ASSERT_NE(exAppState::updateSocket, nullptr);
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(1), "IDs off: started with --no-artnet");

    // The device count takes the first field and leaves the note alone.
    frame->ShowItemCount("3 Items Detected");
    PumpEventsFor(100);
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), "3 Items Detected");
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(1), "IDs off: started with --no-artnet");

    frame->ExitProgram();
    EXPECT_TRUE(exAppState::kivnetSocket->disabled);
    EXPECT_TRUE(exAppState::updateSocket->disabled);
    LetFramesGo();
    exAppState::artNetOff = false;
}

TEST(MainFrame, AfterExitNothingIsSentAndNothingDispatched)
{
    exMainFrame* frame = new exMainFrame("Merrow Rigwise 1.16");
    bxKivnetSocket* kivnet = exAppState::kivnetSocket;
    frame->ExitProgram();
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(frame));
    uint8_t message[8] = {};
    EXPECT_FALSE(kivnet->SendToIp(message, sizeof(message), 0x7F000002));
    EXPECT_FALSE(exAppState::artNetSocket->SendToIp(message, sizeof(message), 0x7F000002));
    EXPECT_FALSE(exAppState::updateSocket->SendToIp(message, sizeof(message), 0x7F000002));
    LetFramesGo();
    EXPECT_EQ(exAppState::mainFrame, nullptr);
}

TEST(MainFrame, KivnetRepliesReachTheDeviceThatSentThem)
{
    exMainFrame* frame = new exMainFrame("Merrow Rigwise 1.16");
    auto* device = new exBaseNode(frame->rackPanel->root, 0);
    device->hidden = true; // hidden devices are found too
    device->network.currentIp = 0x7F000002;
    frame->rackPanel->root->children->Append(device);

    std::vector<uint8_t> reply(96, 0);
    const uint8_t header[] = {0x00, 0x36, 0x93, 0x16, 0x00, 0x01, 0x80, 0x21};
    std::copy(std::begin(header), std::end(header), reply.begin());
    const char line2[] = "from .2";
    std::copy(line2, line2 + 7, reply.begin() + 36);

    TestUdpSocket stranger("127.0.0.3", 0);
    stranger.SendTo("127.0.0.1", 6517, reply);
    PumpEventsFor(300);
    EXPECT_EQ(device->displayLine2, "-");

    reply[1] = 0x37; // wrong magic
    TestUdpSocket sender("127.0.0.2", 0);
    sender.SendTo("127.0.0.1", 6517, reply);
    PumpEventsFor(300);
    EXPECT_EQ(device->displayLine2, "-");

    reply[1] = 0x36;
    sender.SendTo("127.0.0.1", 6517, reply);
    EXPECT_TRUE(PumpEventsUntil([&] { return device->displayLine2 == "from .2"; }, 2000));
    EXPECT_FALSE(device->hidden);

    frame->Close(true);
    LetFramesGo();
}
