// The base device: read-back sequence, presence, and every message it sends, checked on
// recording endpoints against bytes written out by hand.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include <wx/dcmemory.h>
#include <wx/graphics.h>

#include "common/appstate.h"
#include "devices/basenode.h"
#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "discovery/localadapters.h"
#include "net/artnetsocket.h"
#include "net/kivnetsocket.h"
#include "net/updatesocket.h"
#include "support/handbytes.h"
#include "support/readback.h"
#include "support/recordingendpoint.h"

using testing::ElementsAre;
using testing::ElementsAreArray;

namespace {

// A plain node with `ports` DMX ports under a root, talking through recording endpoints.
class BaseNodeTest : public testing::Test {
protected:
    void SetUp() override
    {
        exAppState::kivnetSocket = &kivnet;
        exAppState::artNetSocket = &artNet;
        exAppState::updateSocket = &update;
        update.broadcastAddresses.Add("10.201.0.255");
        artNet.broadcastAddresses.Add("10.201.0.255");
    }

    void TearDown() override
    {
        exAppState::kivnetSocket = nullptr;
        exAppState::artNetSocket = nullptr;
        exAppState::updateSocket = nullptr;
        exLocalAdapters::Instance().Build({});
    }

    exBaseNode* AddNode(int ports, uint32_t ip = 0x0AC90042)
    {
        auto* node = new exBaseNode(&root, ports);
        root.children->Append(node);
        node->network.currentIp = ip;
        return node;
    }

    static std::vector<uint8_t> PortReply(uint8_t wirePort, uint8_t mode, uint16_t code = 0x8031)
    {
        std::vector<uint8_t> bytes = Kivnet(code, 164);
        bytes[8] = wirePort;
        bytes[9] = mode;
        return bytes;
    }

    // The code byte (offset 7) of every Kivnet datagram sent so far, then forgets them.
    std::vector<int> TakeKivnetCodes()
    {
        std::vector<int> codes;
        for (const auto& sent : kivnet.sent)
            codes.push_back(sent.bytes[7] | (sent.bytes.size() == 10 ? sent.bytes[8] << 8 : 0));
        kivnet.sent.clear();
        return codes;
    }

    exCanvasControl root{nullptr, 0, 0, 0, 0, wxEmptyString};
    RecordingEndpoint<bxKivnetSocket> kivnet;
    RecordingEndpoint<bxArtNetSocket> artNet;
    RecordingEndpoint<exUpdateSocket> update;
};

} // namespace

TEST_F(BaseNodeTest, ChildrenInDrawingOrder)
{
    exBaseNode* node = AddNode(3);
    std::vector<exCanvasControl*> order;
    for (exCanvasControl* child : *node->children)
        order.push_back(child);
    EXPECT_THAT(order, ElementsAre(node->dmxPorts[0], node->dmxPorts[1], node->dmxPorts[2],
                                   node->ethernetPort1, node->ethernetPort2, node->frontPanel));
    EXPECT_EQ(node->width, int(770 * node->displayScale));
    EXPECT_EQ(node->connectionState, exBaseNode::kLost);
    EXPECT_EQ(node->displayLine2, "-");
}

TEST_F(BaseNodeTest, ReadBackWalksDevicePortsAndPoll)
{
    exBaseNode* node = AddNode(4);
    node->StartRefresh();
    node->Tick(50);
    ASSERT_EQ(kivnet.sent.size(), 1u);
    EXPECT_EQ(kivnet.sent[0].Address(), "10.201.0.66");
    EXPECT_THAT(kivnet.sent[0].bytes, ElementsAre(0x00, 0x36, 0x93, 0x16, 0x00, 0x01, 0x00, 0x21));
    kivnet.sent.clear();

    std::vector<uint8_t> settings = Kivnet(0x8021, 96);
    node->HandleReply(settings.data(), settings.size());
    EXPECT_EQ(node->readBackStage, exBaseNode::kPortStage);

    std::vector<int> requestedPorts;
    for (int port = 0; port < 4; ++port) {
        node->Tick(50);
        ASSERT_EQ(kivnet.sent.size(), 1u);
        EXPECT_EQ(kivnet.sent[0].bytes.size(), 10u);
        requestedPorts.push_back(kivnet.sent[0].bytes[8]);
        kivnet.sent.clear();
        std::vector<uint8_t> reply = PortReply(uint8_t(port), 2);
        node->HandleReply(reply.data(), reply.size());
    }
    EXPECT_THAT(requestedPorts, ElementsAre(0, 1, 2, 3));
    EXPECT_EQ(node->readBackStage, exBaseNode::kPollStage);

    // The poll stage uses what is left of the last port's retries.
    node->Tick(50);
    EXPECT_TRUE(kivnet.sent.empty());
    ASSERT_EQ(artNet.sent.size(), 1u);
    EXPECT_EQ(artNet.sent[0].Address(), "10.201.0.66");
    EXPECT_EQ(artNet.sent[0].bytes[8], 0x00);
    EXPECT_EQ(artNet.sent[0].bytes[9], 0x20);
}

TEST_F(BaseNodeTest, PortBaseOneAsksForWirePortOneAndFinishesOnItsReply)
{
    exBaseNode* node = AddNode(1);
    node->portBase = 1;
    node->readBackStage = exBaseNode::kPortStage;
    node->readBackRetries = 6;
    node->Tick(50);
    ASSERT_EQ(kivnet.sent.size(), 1u);
    EXPECT_EQ(kivnet.sent[0].bytes[8], 1);
    std::vector<uint8_t> reply = PortReply(1, 1);
    reply[12] = 0x03;
    reply[13] = 0x05;
    node->HandleReply(reply.data(), reply.size());
    EXPECT_EQ(node->readBackStage, exBaseNode::kPollStage);
    EXPECT_EQ(node->dmxPorts[0]->mode, exDMXPort::kInput);
    EXPECT_EQ(node->dmxPorts[0]->universe, 5);
    EXPECT_EQ(node->GetDMXPort(0), nullptr);
    EXPECT_EQ(node->GetDMXPort(1), node->dmxPorts[0]);
}

// A reply the parser refuses changes nothing: no value stored, no stage left, and the device is
// asked again on the next tick.
TEST_F(BaseNodeTest, RefusedRepliesLeaveTheReadBackWhereItWas)
{
    exBaseNode* node = AddNode(2);
    node->StartRefresh();
    node->displayTimeout = 7;
    std::vector<uint8_t> shortSettings = Kivnet(0x8021, 95); // one byte short of option B
    shortSettings[35] = 5;
    node->HandleReply(shortSettings.data(), shortSettings.size());
    EXPECT_EQ(node->readBackStage, exBaseNode::kDeviceStage);
    EXPECT_EQ(node->displayTimeout, 7);
    node->Tick(50);
    EXPECT_THAT(TakeKivnetCodes(), ElementsAre(0x21)) << "asked again";

    std::vector<uint8_t> settings = Kivnet(0x8021, 96);
    node->HandleReply(settings.data(), settings.size());
    ASSERT_EQ(node->readBackStage, exBaseNode::kPortStage);
    node->dmxPorts[0]->mode = exDMXPort::kInput;
    struct Refused {
        const char* what;
        std::vector<uint8_t> reply;
    } refused[] = {
        {"mode 3", PortReply(0, 3)},
        {"output form cut short",
         [] {
             std::vector<uint8_t> reply = PortReply(0, 2);
             reply.resize(163);
             return reply;
         }()},
        {"input form cut short",
         [] {
             std::vector<uint8_t> reply = PortReply(0, 1);
             reply.resize(21);
             return reply;
         }()},
        {"header and port byte only",
         [] {
             std::vector<uint8_t> reply = PortReply(0, 0);
             reply.resize(9);
             return reply;
         }()},
    };
    for (const Refused& each : refused) {
        node->HandleReply(each.reply.data(), each.reply.size());
        EXPECT_EQ(node->readBackStage, exBaseNode::kPortStage) << each.what;
        EXPECT_EQ(node->readBackPort, 0) << each.what;
        EXPECT_EQ(node->dmxPorts[0]->mode, exDMXPort::kInput) << each.what;
    }
    kivnet.sent.clear();
    node->Tick(50);
    ASSERT_EQ(kivnet.sent.size(), 1u);
    EXPECT_EQ(kivnet.sent[0].bytes[8], 0) << "port 0 asked again";
}

// A slow device answers a repeated request twice; a late answer for an earlier port arrives
// after the walk went on. Only the answer for the port asked for moves the walk.
TEST_F(BaseNodeTest, RepeatedAndLatePortRepliesDoNotMoveTheWalk)
{
    exBaseNode* node = AddNode(3);
    node->readBackStage = exBaseNode::kPortStage;
    node->readBackRetries = 6;
    const auto feed = [&](uint8_t wirePort) {
        std::vector<uint8_t> reply = PortReply(wirePort, 2);
        node->HandleReply(reply.data(), reply.size());
        return node->readBackPort;
    };
    EXPECT_EQ(feed(0), 1);
    EXPECT_EQ(feed(0), 1) << "the same answer again";
    EXPECT_EQ(feed(2), 1) << "an answer for a port not asked for yet";
    EXPECT_EQ(feed(1), 2);
    EXPECT_EQ(feed(0), 2) << "a late answer for an earlier port";
    EXPECT_EQ(node->readBackStage, exBaseNode::kPortStage);
    feed(2);
    EXPECT_EQ(node->readBackStage, exBaseNode::kPollStage);
    EXPECT_EQ(node->dmxPorts[2]->mode, exDMXPort::kOutput);
}

TEST_F(BaseNodeTest, EachStageSendsSixTimesAndThenWaits)
{
    exBaseNode* node = AddNode(2);
    node->StartRefresh();
    for (int tick = 0; tick < 10; ++tick)
        node->Tick(50);
    EXPECT_EQ(kivnet.sent.size(), 6u);
    EXPECT_EQ(node->readBackStage, exBaseNode::kDeviceStage);
}

TEST_F(BaseNodeTest, AnswersWithoutTheReplyFlagUpdateFieldsButDoNotAdvance)
{
    exBaseNode* node = AddNode(2);
    node->StartRefresh();
    std::vector<uint8_t> settings = Kivnet(0x0021, 96);
    settings[35] = 5;
    node->HandleReply(settings.data(), settings.size());
    EXPECT_EQ(node->displayTimeout, 5);
    EXPECT_EQ(node->readBackStage, exBaseNode::kDeviceStage);

    node->readBackStage = exBaseNode::kPortStage;
    std::vector<uint8_t> port = PortReply(0, 2, 0x0031);
    node->HandleReply(port.data(), port.size());
    EXPECT_EQ(node->dmxPorts[0]->mode, exDMXPort::kOutput);
    EXPECT_EQ(node->readBackPort, 0);
}

TEST_F(BaseNodeTest, LockByteRuleAndItsWayBack)
{
    exBaseNode* node = AddNode(0);
    struct Case {
        bool lockedBefore;
        uint8_t byte34;
        bool lockedAfter;
        uint8_t sent;
    } cases[] = {{true, 0, true, 2},
                 {false, 0, false, 1},
                 {true, 1, false, 1},
                 {false, 2, true, 2},
                 {false, 7, true, 2}};
    for (const Case& c : cases) {
        node->locked = c.lockedBefore;
        std::vector<uint8_t> reply = Kivnet(0x8021, 96);
        reply[34] = c.byte34;
        node->HandleReply(reply.data(), reply.size());
        EXPECT_EQ(node->locked, c.lockedAfter) << int(c.byte34);
        node->SendDeviceSettings();
        ASSERT_FALSE(kivnet.sent.empty());
        EXPECT_EQ(kivnet.sent.back().bytes[34], c.sent) << int(c.byte34);
    }
}

TEST_F(BaseNodeTest, DeviceSettingsReplyShowsAHiddenDevice)
{
    exBaseNode* node = AddNode(0);
    node->hidden = true;
    std::vector<uint8_t> reply = Kivnet(0x8021, 96);
    const char text[] = "Hello";
    std::copy(text, text + 5, reply.begin() + 36);
    reply[94] = 0x12;
    reply[95] = 0x34;
    node->HandleReply(reply.data(), reply.size());
    EXPECT_FALSE(node->hidden);
    EXPECT_EQ(node->displayLine2, "Hello");
    EXPECT_TRUE(root.dirty);

    // Too short for the fields it carries: nothing is taken.
    node->hidden = true;
    node->HandleReply(reply.data(), 95);
    EXPECT_TRUE(node->hidden);

    node->SendDeviceSettings();
    EXPECT_EQ(kivnet.sent.back().bytes[94], 0x12);
    EXPECT_EQ(kivnet.sent.back().bytes[95], 0x34);
}

TEST_F(BaseNodeTest, PortRepliesForOtherPortsOrModesChangeNothing)
{
    exBaseNode* node = AddNode(2);
    node->dmxPorts[1]->mode = exDMXPort::kOutput;
    node->dmxPorts[1]->SetUniverseCode(0x0212);
    std::vector<uint8_t> unknownPort = PortReply(7, 0);
    node->HandleReply(unknownPort.data(), unknownPort.size());
    std::vector<uint8_t> unknownMode = PortReply(1, 3);
    node->HandleReply(unknownMode.data(), unknownMode.size());
    EXPECT_EQ(node->dmxPorts[1]->mode, exDMXPort::kOutput);
    EXPECT_EQ(node->dmxPorts[1]->universe, 18);

    std::vector<uint8_t> disabled = PortReply(1, 0);
    node->HandleReply(disabled.data(), disabled.size());
    EXPECT_EQ(node->dmxPorts[1]->mode, exDMXPort::kDisabled);
    EXPECT_EQ(node->dmxPorts[1]->universe, 18) << "a disabled port keeps its universe";
}

TEST_F(BaseNodeTest, PresenceRunsOutAfterFiveSecondsButNotForHostedDevices)
{
    exBaseNode* node = AddNode(0);
    node->OnAlive();
    EXPECT_EQ(node->connectionState, exBaseNode::kOnline);
    for (int tick = 0; tick < 99; ++tick)
        node->Tick(50);
    EXPECT_EQ(node->connectionState, exBaseNode::kOnline);
    node->Tick(50);
    EXPECT_EQ(node->connectionState, exBaseNode::kLost);

    node->connectionState = exBaseNode::kHosted;
    node->OnAlive();
    EXPECT_EQ(node->connectionState, exBaseNode::kHosted);
    for (int tick = 0; tick < 200; ++tick)
        node->Tick(50);
    EXPECT_EQ(node->connectionState, exBaseNode::kHosted);
}

TEST_F(BaseNodeTest, PortNumbersRunOneToSixteenOnDevicesAndModules)
{
    exBaseNode* module = AddNode(2, 0);
    struct Case {
        int portNumber;
        const char* label;
    } cases[] = {{0, "1"}, {9, "10"}, {15, "16"}, {16, "1"}, {17, "2"}, {47, "16"}};
    for (const Case& c : cases) {
        module->dmxPorts[0]->portNumber = c.portNumber;
        EXPECT_EQ(module->dmxPorts[0]->GetNumberLabel(), c.label) << c.portNumber;
    }
}

TEST_F(BaseNodeTest, ProgramPortSendsItsFormToTheDeviceOrItsHost)
{
    exBaseNode* host = AddNode(0, 0x0AC90001);
    exBaseNode* module = AddNode(2, 0);
    module->host = host;
    module->SetFirstPortNumber(16);
    exDMXPort* port = module->dmxPorts[1];
    port->mode = exDMXPort::kInput;
    port->protocol = 1;
    port->universe = 18;
    port->portValue = 0x01020304;
    port->state.Edit();

    testing::internal::CaptureStdout();
    module->ProgramPort(port);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Program Port 11\nFill Input\n");
    ASSERT_EQ(kivnet.sent.size(), 1u);
    EXPECT_EQ(kivnet.sent[0].Address(), "10.201.0.1");
    EXPECT_THAT(kivnet.sent[0].bytes,
                ElementsAre(0x00, 0x36, 0x93, 0x16, 0x00, 0x01, 0x00, 0x30, // header
                            17, 1, 1, 1,                                    // port, input
                            0x03, 0x12,                                     // sACN 18
                            100, 0, 0, 0, 0x01, 0x02, 0x03, 0x04));         // port value
    EXPECT_FALSE(port->state.IsEdited());

    port->mode = exDMXPort::kOutput;
    testing::internal::CaptureStdout();
    module->ProgramPort(port);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Program Port 11\nFill Output\n");
    EXPECT_EQ(kivnet.sent[1].bytes.size(), 164u);
}

TEST_F(BaseNodeTest, NetworkSettingsGoToTheBroadcastsAndBecomeCurrent)
{
    exBaseNode* node = AddNode(0, 0x0A000005);
    node->network.unitNumber = 7;
    node->network.modelCode = 0x0108;
    node->network.newIp = 0xC0A80114;
    node->network.newMask = 0xFFFFFF00;
    node->network.state.Edit();
    node->SendNetworkSettings();
    ASSERT_EQ(update.sent.size(), 1u);
    EXPECT_EQ(update.sent[0].Address(), "10.201.0.255");
    EXPECT_THAT(
        std::vector<uint8_t>(update.sent[0].bytes.begin() + 8, update.sent[0].bytes.begin() + 22),
        ElementsAre(0x00, 0x07, 0x01, 0x08, 0x00, 0x00, // unit, model, 0
                    0x14, 0x01, 0xA8, 0xC0,             // 192.168.1.20
                    0x00, 0xFF, 0xFF, 0xFF));           // 255.255.255.0
    EXPECT_EQ(node->network.currentIp, 0xC0A80114u);
    EXPECT_EQ(node->network.ipText, "192.168.1.20");
    EXPECT_EQ(node->network.maskText, "255.255.255.0");
    EXPECT_FALSE(node->network.state.IsEdited());

    node->network.newDhcp = true;
    node->SendNetworkSettings();
    EXPECT_THAT(
        std::vector<uint8_t>(update.sent[1].bytes.begin() + 14, update.sent[1].bytes.begin() + 22),
        ElementsAre(0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_TRUE(node->network.currentDhcp);
}

TEST_F(BaseNodeTest, ProgramAllSendsEverythingInOrderExceptForAHostedDevice)
{
    exBaseNode* node = AddNode(2);
    node->network.state.Read();
    node->modified = true;
    // Nothing that was not read goes out: not the device settings (lock, time-out and option
    // bytes as zeros), not a port (mode 0, universe 0: a live output switched off).
    node->ProgramAll();
    EXPECT_TRUE(kivnet.sent.empty());
    EXPECT_EQ(update.sent.size(), 1u) << "the address, which discovery reported";
    update.sent.clear();
    node->dmxPorts[1]->state.Read();
    testing::internal::CaptureStdout();
    node->ProgramAll();
    testing::internal::GetCapturedStdout();
    EXPECT_THAT(TakeKivnetCodes(), ElementsAre(0x30)) << "the one port read";
    update.sent.clear();

    MarkReadBack(*node);
    node->modified = true;
    node->frontPanel->state.Edit();
    testing::internal::CaptureStdout();
    node->ProgramAll();
    testing::internal::GetCapturedStdout();
    EXPECT_THAT(TakeKivnetCodes(), ElementsAre(0x20, 0x30, 0x30));
    EXPECT_EQ(update.sent.size(), 1u);
    EXPECT_FALSE(node->modified);
    EXPECT_FALSE(node->frontPanel->state.IsEdited());

    exBaseNode* module = AddNode(2, 0);
    module->host = node;
    module->modified = true;
    update.sent.clear();
    module->ProgramAll();
    EXPECT_TRUE(kivnet.sent.empty());
    EXPECT_TRUE(update.sent.empty());
    EXPECT_TRUE(module->modified);
}

TEST_F(BaseNodeTest, LostOrUnreachableDevicesCannotBeWorkedWith)
{
    exLocalAdapters::Instance().Build({{0x0AC90001, 0xFFFFFF00}});
    exBaseNode* node = AddNode(1, 0x0AC90042);
    exBaseNode* foreign = AddNode(1, 0x0A000005);
    exBaseNode* module = AddNode(1, 0);
    module->host = foreign;
    module->connectionState = exBaseNode::kHosted;
    foreign->OnAlive();
    exBaseNode* host = AddNode(0, 0x0AC90043);
    exBaseNode* moduleOfLostHost = AddNode(1, 0);
    moduleOfLostHost->host = host;
    moduleOfLostHost->connectionState = exBaseNode::kHosted;

    wxBitmap bitmap(800, 400);
    wxMemoryDC dc(bitmap);
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
    struct Case {
        exBaseNode* device;
        bool online;
        bool usable;
    } cases[] = {{node, false, false},
                 {node, true, true},
                 {foreign, true, false},
                 {module, true, false},
                 // Its switch is lost: so is the module, whose own state stays hosted.
                 {moduleOfLostHost, false, false}};
    for (const Case& c : cases) {
        if (c.online)
            c.device->OnAlive();
        c.device->Draw(gc.get());
        EXPECT_EQ(c.device->enabled, c.usable);
        EXPECT_EQ(c.device->dmxPorts[0]->enabled, c.usable);
    }
}

TEST_F(BaseNodeTest, LostOverlayShadesTheDrawing)
{
    exBaseNode* node = AddNode(0, 0);
    wxBitmap bitmap(800, 200);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
        gc->Translate(10, 10);
        node->Draw(gc.get());
    }
    const wxImage image = bitmap.ConvertToImage();
    // White under black at alpha 150 gives about 105; outside the shade stays white.
    EXPECT_NEAR(image.GetRed(400, 20), 105, 3);
    EXPECT_EQ(image.GetRed(795, 195), 255);
}

TEST_F(BaseNodeTest, UnreachableWarningStaysWithinTheDevice)
{
    exLocalAdapters::Instance().Build({{0x0AC90001, 0xFFFFFF00}});
    exBaseNode* node = AddNode(0, 0xC0A84D0A);
    node->network.ipText = "192.168.77.10";
    node->OnAlive();
    wxBitmap bitmap(1000, 220);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxBLACK_BRUSH);
        dc.Clear();
        std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
        gc->Translate(100, 40);
        node->Draw(gc.get());
    }
    const wxImage image = bitmap.ConvertToImage();
    int whiteInside = 0, whiteOutside = 0;
    for (int x = 0; x < 1000; ++x) {
        for (int y = 0; y < 220; ++y) {
            if (image.GetRed(x, y) < 250 || image.GetGreen(x, y) < 250)
                continue;
            (x >= 100 && x < 100 + node->width ? whiteInside : whiteOutside)++;
        }
    }
    EXPECT_EQ(node->UnreachableText(),
              "Cannot reach this device (IP 192.168.77.10). Please check your IP settings!");
    EXPECT_GT(whiteInside, 0) << "the text is drawn";
    EXPECT_EQ(whiteOutside, 0) << "and none of it beside the device";
}

TEST_F(BaseNodeTest, WithoutArtNetTheReadBackEndsWithTheLastPortAndPollsNobody)
{
    exAppState::artNetOff = true;
    exAppState::artNetSocket = nullptr;
    exBaseNode* node = AddNode(2);
    node->readBackStage = exBaseNode::kPortStage;
    node->readBackRetries = 6;
    for (uint8_t port = 0; port < 2; ++port) {
        std::vector<uint8_t> reply = PortReply(port, 2);
        node->HandleReply(reply.data(), reply.size());
    }
    EXPECT_EQ(node->readBackStage, exBaseNode::kIdle);
    kivnet.sent.clear();
    for (int tick = 0; tick < 8; ++tick)
        node->Tick(50);
    exAppState::artNetOff = false;
    EXPECT_TRUE(kivnet.sent.empty());
    EXPECT_TRUE(artNet.sent.empty());
    EXPECT_EQ(node->readBackStage, exBaseNode::kIdle);
}
