// The rules behind find and the attention keys, over plain devices and no window: what a text
// matches, what counts as unsent, and where the next device that needs attention is.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/controls/canvascontrol.h"
#include "common/rack/attention.h"
#include "common/rack/devicematcher.h"
#include "devices/basenode.h"
#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/switchport.h"
#include "discovery/localadapters.h"
#include "support/readback.h"

using testing::ElementsAre;
using testing::IsEmpty;

namespace {

constexpr uint32_t kLocal = 0x0ACA0000; // 10.202.0.0/16, this computer's subnet

class RackRulesTest : public testing::Test {
protected:
    void SetUp() override { exLocalAdapters::Instance().Build({{kLocal | 1, 0xFFFF0000}}); }
    void TearDown() override { exLocalAdapters::Instance().Build({}); }

    exBaseNode* Add(const wxString& name, const wxString& ipText, uint16_t unit)
    {
        auto* device = new exBaseNode(&root, 1);
        device->deviceName = name;
        device->title = "Pylon NodeBeta";
        device->network.currentIp = kLocal | unit;
        device->network.ipText = ipText;
        device->network.unitNumber = unit;
        device->OnAlive();
        root.children->Append(device);
        devices.push_back(device);
        return device;
    }
    std::vector<size_t> Match(const char* text)
    {
        std::vector<size_t> places;
        matcher.Match(devices, exDeviceMatcher::Fold(wxString::FromUTF8(text)), places);
        return places;
    }

    exCanvasControl root{nullptr, 0, 0, 0, 0, ""};
    std::vector<exBaseNode*> devices;
    exDeviceMatcher matcher;
};

} // namespace

TEST_F(RackRulesTest, MatchesStayWithinOneFieldAndFollowChangedTexts)
{
    exBaseNode* one = Add("Unit 1", "10.202.0.5", 5);
    exBaseNode* two = Add(wxString::FromUTF8("\xC3\x84rger"), "10.202.0.6", 6);
    EXPECT_THAT(Match("5"), ElementsAre(0u));
    // "Unit 1", "Pylon NodeBeta", "10.202.0.5": no match runs from one field into the next.
    EXPECT_THAT(Match("110"), IsEmpty());
    EXPECT_THAT(Match("1pylon"), IsEmpty());
    EXPECT_THAT(Match("\xC3\xA4rg"), ElementsAre(1u)); // folded by the Unicode tables
    EXPECT_THAT(Match("0."), ElementsAre(0u, 1u));
    // No ID yet is no "0" of its own; the ID counts once it is known.
    EXPECT_THAT(Match("77"), IsEmpty());
    two->deviceId = 77;
    EXPECT_THAT(Match("77"), ElementsAre(1u));
    // What was matched before is made again from the device's texts as they are now.
    one->deviceName = "Truss";
    one->network.ipText = "10.202.9.9";
    EXPECT_THAT(Match("unit"), IsEmpty());
    EXPECT_THAT(Match("truss"), ElementsAre(0u));
    EXPECT_THAT(Match("9.9"), ElementsAre(0u));
    // A module is matched on its name and model name alone, never on its host's.
    two->host = one;
    EXPECT_THAT(Match("77"), IsEmpty());
    EXPECT_THAT(Match("rger"), ElementsAre(1u));
    EXPECT_THAT(Match(""), IsEmpty());
}

TEST_F(RackRulesTest, UnsentIsWhatAnElementStillDrawsRed)
{
    exBaseNode* device = Add("Stage", "10.202.0.5", 5);
    const struct {
        const char* element;
        exSettingState* state;
    } elements[] = {
        {"front panel", &device->frontPanel->state},
        {"network", &device->network.state},
        {"DMX port", &device->dmxPorts[0]->state},
    };
    for (const auto& e : elements) {
        e.state->Edit();
        device->modified = true;
        EXPECT_TRUE(exAttention::HoldsUnsentValues(*device)) << e.element;
        EXPECT_TRUE(exAttention::Needs(*device)) << e.element;
        // The device's own mark alone is a change already sent at once.
        e.state->Sent();
        EXPECT_FALSE(exAttention::HoldsUnsentValues(*device)) << e.element;
        EXPECT_FALSE(exAttention::Needs(*device)) << e.element;
    }
    auto* switchPort = new exSwitchPort(device, 0);
    device->switchPorts.push_back(switchPort);
    device->children->Append(switchPort);
    switchPort->state.Edit();
    EXPECT_TRUE(exAttention::HoldsUnsentValues(*device)) << "switch port";
    device->modified = false;
    EXPECT_FALSE(exAttention::HoldsUnsentValues(*device)) << "marks without the device's own";
}

TEST_F(RackRulesTest, NextNeedingAttentionWrapsRoundTheRackAndStartsOutsideIt)
{
    for (uint16_t unit = 1; unit <= 6; ++unit)
        Add(wxString::Format("Unit %d", unit), "", unit);
    devices[1]->connectionState = exBaseNode::kLost;
    devices[4]->network.currentIp = 0xC0A84D0A; // 192.168.77.10, outside the local subnet
    const exBaseNode outside(nullptr, 0);
    const struct {
        const exBaseNode* from;
        int direction;
        exBaseNode* expected;
    } cases[] = {
        {nullptr, +1, devices[1]},    {nullptr, -1, devices[4]},    {&outside, +1, devices[1]},
        {devices[1], +1, devices[4]}, {devices[4], +1, devices[1]}, {devices[1], -1, devices[4]},
        {devices[2], -1, devices[1]}, {devices[0], -1, devices[4]},
    };
    for (const auto& c : cases)
        EXPECT_EQ(exAttention::Next(devices, c.from, c.direction), c.expected)
            << (c.from ? c.from->network.unitNumber : 0) << " " << c.direction;

    devices[4]->network.currentIp = kLocal | 5;
    EXPECT_EQ(exAttention::Next(devices, devices[1], +1), devices[1]) << "itself, last";
    devices[1]->OnAlive();
    for (exBaseNode* device : devices)
        MarkReadBack(*device);
    EXPECT_EQ(exAttention::Next(devices, devices[1], +1), nullptr);

    // Found a while ago and still not read back: it needs attention too, once it is overdue.
    devices[3]->dmxPorts[0]->state.Forget();
    devices[3]->Tick(exBaseNode::kReadBackOverdueMs - 50);
    EXPECT_EQ(exAttention::Next(devices, nullptr, +1), nullptr);
    devices[3]->OnAlive(); // answering all the while
    devices[3]->Tick(50);
    EXPECT_EQ(exAttention::Next(devices, nullptr, +1), devices[3]);
    devices[3]->dmxPorts[0]->state.Read();
    devices[3]->Tick(50);
    EXPECT_EQ(exAttention::Next(devices, nullptr, +1), nullptr);
    EXPECT_EQ(exAttention::Next({}, nullptr, +1), nullptr);
}
