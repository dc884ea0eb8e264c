// Read-backs that finish: the wait before a stalled stage is asked again, the stage asked again
// on a discovery reply, a rack that resumes its stalled devices a few at a time; and what may be
// sent of a device that has not been read.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "common/appstate.h"
#include "common/rackroot.h"
#include "devices/basenode.h"
#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/modelcatalogue.h"
#include "devices/readbackretry.h"
#include "devices/switchport.h"
#include "devices/switchtheta.h"
#include "net/artnetsocket.h"
#include "net/kivnetsocket.h"
#include "net/updatesocket.h"
#include "support/handbytes.h"
#include "support/readback.h"
#include "support/recordingendpoint.h"

namespace {

constexpr int kTick = 50;

TEST(ReadBackRetry, WaitsDoubleFromAboutTwoSecondsSpreadByAQuarterAndStartOverOnProgress)
{
    const int bases[] = {2000, 4000, 8000, 16000, 32000, 32000, 32000};
    exReadBackRetry retry(7);
    for (int base : bases) {
        retry.Stalled();
        retry.Stalled(); // the same stall, told twice, waits once
        EXPECT_TRUE(retry.IsStalled());
        EXPECT_GE(retry.WaitLeftMs(), base * 3 / 4) << base;
        EXPECT_LE(retry.WaitLeftMs(), base * 5 / 4) << base;
        EXPECT_FALSE(retry.Due());
        retry.Advance(retry.WaitLeftMs() - 1);
        EXPECT_FALSE(retry.Due());
        retry.Advance(1);
        EXPECT_TRUE(retry.Due());
        retry.Resumed();
        EXPECT_FALSE(retry.Due());
    }
    retry.Progressed();
    retry.Stalled();
    EXPECT_LE(retry.WaitLeftMs(), 2500) << "a reply that moved the read-back on";

    // Devices that stalled together wait apart.
    std::vector<int> firstWaits;
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        exReadBackRetry each(seed * 2654435761u);
        each.Stalled();
        firstWaits.push_back(each.WaitLeftMs());
    }
    std::sort(firstWaits.begin(), firstWaits.end());
    EXPECT_GT(firstWaits.back() - firstWaits.front(), 300);
}

class ReadBackTest : public testing::Test {
protected:
    ReadBackTest()
    {
        exAppState::kivnetSocket = &kivnet;
        exAppState::artNetSocket = &artNet;
        exAppState::updateSocket = &update;
        update.broadcastAddresses.Add("10.201.0.255");
    }
    ~ReadBackTest() override
    {
        exAppState::kivnetSocket = nullptr;
        exAppState::artNetSocket = nullptr;
        exAppState::updateSocket = nullptr;
    }

    exBaseNode* Add(uint16_t model)
    {
        exBaseNode* device = exModelCatalogue::Create(model, &root);
        root.children->Append(device);
        device->network.currentIp = 0x0AC90042;
        device->network.state.Read();
        device->OnAlive();
        return device;
    }
    // The Kivnet codes sent since the last call.
    std::vector<int> Sent()
    {
        std::vector<int> codes;
        for (const auto& sent : kivnet.sent)
            codes.push_back(sent.bytes[6] << 8 | sent.bytes[7]);
        kivnet.sent.clear();
        return codes;
    }
    void Ticks(exBaseNode* device, int count)
    {
        for (int i = 0; i < count; ++i)
            device->Tick(kTick);
    }
    static std::vector<uint8_t> DeviceSettingsReply() { return Kivnet(0x8021, 222); }

    RecordingEndpoint<bxKivnetSocket> kivnet;
    RecordingEndpoint<bxArtNetSocket> artNet;
    RecordingEndpoint<exUpdateSocket> update;
    exRackRoot root;
};

} // namespace

TEST_F(ReadBackTest, AStageWhoseTriesRanOutIsAskedAgainOnADiscoveryReplyAfterItsWait)
{
    // A NodeZeta that ignores its first eight device settings requests, two more than a round.
    exBaseNode* zeta = Add(0x010A);
    zeta->StartRefresh();
    Ticks(zeta, 10);
    EXPECT_EQ(Sent(), std::vector<int>(6, 0x0021));
    EXPECT_TRUE(zeta->readBackRetry.IsStalled());

    zeta->OnAlive(); // too soon: the wait is not over
    Ticks(zeta, 1);
    EXPECT_TRUE(Sent().empty());
    Ticks(zeta, exReadBackRetry::kFirstWaitMs * 5 / 4 / kTick);
    EXPECT_TRUE(Sent().empty()) << "only a discovery reply asks again";
    zeta->OnAlive();
    Ticks(zeta, 10);
    EXPECT_EQ(Sent(), std::vector<int>(6, 0x0021)) << "a new round of six";

    // The next stall waits longer; the ninth request is answered and the device is drawn.
    Ticks(zeta, exReadBackRetry::kFirstWaitMs * 5 / 4 / kTick);
    zeta->OnAlive();
    Ticks(zeta, 1);
    EXPECT_TRUE(Sent().empty());
    Ticks(zeta, 2 * exReadBackRetry::kFirstWaitMs * 5 / 4 / kTick);
    zeta->OnAlive();
    Ticks(zeta, 1);
    EXPECT_EQ(Sent(), std::vector<int>{0x0021});
    ASSERT_TRUE(zeta->hidden);
    const std::vector<uint8_t> reply = DeviceSettingsReply();
    zeta->HandleReply(reply.data(), reply.size());
    EXPECT_FALSE(zeta->hidden);
    EXPECT_TRUE(zeta->frontPanel->state.IsRead());
    EXPECT_EQ(zeta->readBackStage, exBaseNode::kPortStage);
    EXPECT_FALSE(zeta->readBackRetry.IsStalled());
}

TEST_F(ReadBackTest, ARackResumesItsStalledDevicesAFewEverySecond)
{
    std::vector<exBaseNode*> devices;
    for (int i = 0; i < exRackRoot::kResumesPerSecond + 50; ++i) {
        devices.push_back(Add(0x0103));
        devices.back()->StartRefresh();
        Ticks(devices.back(), 6 + exReadBackRetry::kFirstWaitMs * 5 / 4 / kTick);
    }
    kivnet.sent.clear();
    auto resumed = [&] {
        int count = 0;
        for (exBaseNode* device : devices) {
            device->OnAlive();
            count += device->readBackRetries > 0;
        }
        return count;
    };
    EXPECT_EQ(resumed(), exRackRoot::kResumesPerSecond);
    root.AdvanceClock(999);
    EXPECT_EQ(resumed(), exRackRoot::kResumesPerSecond);
    root.AdvanceClock(1);
    EXPECT_EQ(resumed(), exRackRoot::kResumesPerSecond + 50);
}

TEST_F(ReadBackTest, NothingThatWasNotReadIsSent)
{
    struct Case {
        const char* what;
        exSettingState::Origin origin;
        bool sent;
    } const cases[] = {
        {"not read", exSettingState::kNotRead, false},
        {"read", exSettingState::kRead, true},
        {"edited", exSettingState::kEdited, true},
    };
    auto setTo = [](exSettingState& state, exSettingState::Origin origin) {
        state = exSettingState();
        if (origin == exSettingState::kRead)
            state.Read();
        else if (origin == exSettingState::kEdited)
            state.Edit();
    };
    exBaseNode* beta = Add(0x0103);
    auto* theta = static_cast<exSwitchTheta*>(Add(exSwitchTheta::kModelCode));
    MarkReadBack(*theta);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setTo(beta->dmxPorts[2]->state, c.origin);
        beta->ProgramPort(beta->dmxPorts[2]);
        EXPECT_EQ(Sent().size(), c.sent ? 1u : 0u) << "port";

        setTo(beta->frontPanel->state, c.origin);
        beta->SendDeviceSettings();
        EXPECT_EQ(Sent().size(), c.sent ? 1u : 0u) << "device settings";

        // The switch settings carry every port: one port not read holds back the message.
        setTo(theta->switchPorts[5]->state, c.origin);
        theta->SendSwitchSettings();
        EXPECT_EQ(Sent().size(), c.sent ? 1u : 0u) << "switch settings";
        EXPECT_EQ(theta->MayEdit(theta->switchPorts[0]), c.sent);
        EXPECT_EQ(theta->MayEdit(theta->frontPanel), c.sent);

        setTo(beta->network.state, c.origin);
        beta->SendNetworkSettings();
        EXPECT_EQ(update.sent.size(), c.sent ? 1u : 0u) << "network settings";
        update.sent.clear();
    }
    // What went out is what the device holds now; it is no longer the user's edit.
    EXPECT_TRUE(beta->dmxPorts[2]->state.IsRead());
    EXPECT_TRUE(beta->frontPanel->state.IsRead());
}
