// Discovery and the device registry, driven with datagrams written out by hand, without a window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/appstate.h"
#include "common/rackroot.h"
#include "devices/basenode.h"
#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "devices/sprite.h"
#include "discovery/deviceregistry.h"
#include "net/artnetsocket.h"
#include "net/kivnetsocket.h"
#include "net/updatesocket.h"
#include "support/recordingendpoint.h"

namespace {

constexpr uint32_t kSender = 0x0AC90077; // 10.201.0.119

// A discovery reply as a device sends it on the update port.
std::vector<uint8_t> DiscoveryReply(uint16_t model, uint16_t unit, uint32_t ip,
                                    const char* name = "Stage left")
{
    std::vector<uint8_t> bytes(50, 0);
    bytes[0] = 'M'; // magic "M-R\0"
    bytes[1] = '-';
    bytes[2] = 'R';
    bytes[5] = 0x11;                                 // code 0x0011, bytes 6..7 zero
    std::memcpy(&bytes[8], name, std::strlen(name)); // name, 8..25
    const uint8_t mac[] = {0x00, 0x50, 0xC2, 0x12, 0x34, 0x56};
    std::memcpy(&bytes[26], mac, 6); // MAC, 26..31
    bytes[32] = uint8_t(unit >> 8);  // unit number, big-endian
    bytes[33] = uint8_t(unit);
    for (int i = 0; i < 4; ++i)
        bytes[40 + i] = uint8_t(ip >> (24 - 8 * i)); // IP, big-endian
    bytes[44] = 255;                                 // mask 255.255.0.0
    bytes[45] = 255;
    bytes[48] = uint8_t(model >> 8); // model code, big-endian
    bytes[49] = uint8_t(model);
    return bytes;
}

std::vector<uint8_t> PollReply(const std::string& longName, uint16_t opCode = 0x2100)
{
    std::vector<uint8_t> bytes(239, 0);
    std::memcpy(bytes.data(), "Art-Net", 8);
    bytes[8] = uint8_t(opCode); // OpCode, little-endian
    bytes[9] = uint8_t(opCode >> 8);
    std::memcpy(&bytes[44], longName.data(), longName.size()); // Long Name
    return bytes;
}

class DeviceRegistryTest : public testing::Test {
protected:
    DeviceRegistryTest() : registry(&root)
    {
        registry.showStatus = [this](const wxString& text) { status.push_back(text); };
        exAppState::kivnetSocket = &kivnet;
        exAppState::artNetSocket = &artNet;
        exAppState::updateSocket = &update;
    }
    ~DeviceRegistryTest() override
    {
        exAppState::kivnetSocket = nullptr;
        exAppState::artNetSocket = nullptr;
        exAppState::updateSocket = nullptr;
    }

    exBaseNode* Discover(const std::vector<uint8_t>& bytes, uint32_t sender = kSender)
    {
        return registry.HandleDiscoveryReply(bytes.data(), bytes.size(), sender);
    }

    RecordingEndpoint<bxKivnetSocket> kivnet;
    RecordingEndpoint<bxArtNetSocket> artNet;
    RecordingEndpoint<exUpdateSocket> update;
    exRackRoot root;
    exDeviceRegistry registry;
    std::vector<wxString> status;
};

} // namespace

TEST_F(DeviceRegistryTest, SameModelAndUnitIsOneDeviceWhoseAddressFollowsTheReplies)
{
    exBaseNode* first = Discover(DiscoveryReply(0x0107, 7, 0x0AC90010));
    ASSERT_NE(first, nullptr);
    EXPECT_NE(dynamic_cast<exSprite*>(first), nullptr);
    EXPECT_EQ(first->deviceName, "Stage left");
    EXPECT_EQ(first->connectionState, exBaseNode::kOnline);
    EXPECT_EQ(first->network.currentIp, 0x0AC90010u);
    EXPECT_EQ(first->network.newIp, 0x0AC90010u);
    EXPECT_EQ(first->network.currentMask, 0xFFFF0000u);
    EXPECT_EQ(first->network.ipText, "10.201.0.16");
    EXPECT_EQ(first->network.maskText, "255.255.0.0");
    EXPECT_EQ(first->network.mac[5], 0x56);
    EXPECT_FALSE(first->network.currentDhcp);
    EXPECT_EQ(first->readBackStage, exBaseNode::kDeviceStage);

    // Renamed at its own panel, the name follows; a name edited and not yet sent stays.
    EXPECT_EQ(Discover(DiscoveryReply(0x0107, 7, 0x0AC90020, "Other name")), first);
    EXPECT_EQ(root.children->GetCount(), 1u);
    EXPECT_EQ(first->deviceName, "Other name");
    first->deviceName = "Renamed";
    first->frontPanel->state.Edit();
    Discover(DiscoveryReply(0x0107, 7, 0x0AC90020, "Third name"));
    EXPECT_EQ(first->deviceName, "Renamed");
    EXPECT_EQ(first->network.currentIp, 0x0AC90020u);
    EXPECT_EQ(registry.FindByIp(0x0AC90020), first);
    EXPECT_EQ(registry.FindByIp(0x0AC90010), nullptr);

    // Same unit, another model: another device.
    Discover(DiscoveryReply(0x0108, 7, 0x0AC90030));
    EXPECT_EQ(root.children->GetCount(), 2u);
    EXPECT_THAT(status, testing::ElementsAre("1 Item Detected", "2 Items Detected"));
}

TEST_F(DeviceRegistryTest, OfTwoDevicesOnOneAddressTheFirstInTheRackIsFound)
{
    exBaseNode* first = Discover(DiscoveryReply(0x0107, 1, 0x0AC90010));
    exBaseNode* second = Discover(DiscoveryReply(0x0107, 2, 0x0AC90010));
    EXPECT_EQ(registry.FindByIp(0x0AC90010), first);

    // The first moves away and back; meanwhile the second was the one at the address.
    Discover(DiscoveryReply(0x0107, 1, 0x0AC90011));
    EXPECT_EQ(registry.FindByIp(0x0AC90010), second);
    Discover(DiscoveryReply(0x0107, 1, 0x0AC90010));
    EXPECT_EQ(registry.FindByIp(0x0AC90010), first);

    // The same when the program itself gives the first another address and then the old one.
    first->network.newIp = 0x0AC90012;
    first->SendNetworkSettings();
    EXPECT_EQ(registry.FindByIp(0x0AC90010), second);
    EXPECT_EQ(registry.FindByIp(0x0AC90012), first);
    first->network.newIp = 0x0AC90010;
    first->SendNetworkSettings();
    EXPECT_EQ(registry.FindByIp(0x0AC90010), first);
    EXPECT_EQ(registry.FindByIp(0x0AC90012), nullptr);
    EXPECT_EQ(registry.FindByKey(0x0107, 2), second);
    EXPECT_EQ(registry.FindByKey(0x0107, 3), nullptr);
}

TEST_F(DeviceRegistryTest, OnlyAnswersThatChangeWhatIsDrawnAskForARepaint)
{
    exBaseNode* device = Discover(DiscoveryReply(0x0108, 1, 0x0AC90010));
    EXPECT_TRUE(root.dirty) << "a new device";
    struct Case {
        const char* what;
        std::vector<uint8_t> reply;
        uint32_t sender;
        bool repaint;
        const char* ipText;
    } cases[] = {
        {"the same answer", DiscoveryReply(0x0108, 1, 0x0AC90010), kSender, false, "10.201.0.16"},
        {"another address", DiscoveryReply(0x0108, 1, 0x0AC90011), kSender, true, "10.201.0.17"},
        {"the same again", DiscoveryReply(0x0108, 1, 0x0AC90011), kSender, false, "10.201.0.17"},
        {"DHCP", DiscoveryReply(0x0108, 1, 0), 0x0AC90011, true, "10.201.0.17"},
        {"another mask",
         [] {
             std::vector<uint8_t> reply = DiscoveryReply(0x0108, 1, 0x0AC90011);
             reply[46] = 255;
             return reply;
         }(),
         kSender, true, "10.201.0.17"},
    };
    for (const Case& c : cases) {
        root.dirty = false;
        Discover(c.reply, c.sender);
        EXPECT_EQ(root.dirty, c.repaint) << c.what;
        EXPECT_EQ(device->network.ipText, c.ipText) << c.what;
    }
    EXPECT_EQ(device->network.maskText, "255.255.255.0");

    device->Tick(exBaseNode::kAliveMs);
    root.dirty = false;
    Discover(DiscoveryReply(0x0108, 1, 0x0AC90011));
    EXPECT_TRUE(root.dirty) << "back from lost";
}

TEST_F(DeviceRegistryTest, ChangesOutOfTheRacksViewAskForNoRepaint)
{
    exBaseNode* device = Discover(DiscoveryReply(0x0108, 1, 0x0AC90010));
    device->y = 1000;
    const std::vector<uint8_t> idReply = PollReply("Pylon NodeDelta ID: 12");
    for (double top : {0.0, 900.0, 1100.0}) {
        root.SetShownRows(top, top + 300);
        const bool shown = top != 0.0;
        root.dirty = false;
        Discover(DiscoveryReply(0x0108, 1, top == 900.0 ? 0x0AC90011 : 0x0AC90010));
        EXPECT_EQ(root.dirty, shown) << top;
        root.dirty = false;
        registry.HandleArtNetReply(idReply.data(), idReply.size(), device->network.currentIp);
        EXPECT_EQ(root.dirty, shown) << top;
        root.dirty = false;
        device->Tick(exBaseNode::kAliveMs);
        EXPECT_EQ(root.dirty, shown) << "lost at " << top;
    }
}

TEST_F(DeviceRegistryTest, AddressZeroMeansDhcpAndTheSenderIsUsed)
{
    exBaseNode* device = Discover(DiscoveryReply(0x0106, 1, 0), 0xC0A8010A);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->network.currentIp, 0xC0A8010Au);
    EXPECT_EQ(device->network.newIp, 0xC0A8010Au);
    EXPECT_TRUE(device->network.currentDhcp);
    EXPECT_EQ(device->network.ipText, "192.168.1.10");
}

TEST_F(DeviceRegistryTest, DroppedRepliesCreateNothing)
{
    std::vector<uint8_t> unknownModel = DiscoveryReply(0x0308, 1, 0x0AC90010);
    std::vector<uint8_t> shortReply = DiscoveryReply(0x0107, 1, 0x0AC90010);
    shortReply.resize(49);
    std::vector<uint8_t> wrongCode = DiscoveryReply(0x0107, 1, 0x0AC90010);
    wrongCode[5] = 0x10;
    std::vector<uint8_t> wrongMagic = DiscoveryReply(0x0107, 1, 0x0AC90010);
    wrongMagic[0] = 'X';
    std::vector<uint8_t> reservedSet = DiscoveryReply(0x0107, 1, 0x0AC90010);
    reservedSet[7] = 1;
    for (const auto& bytes : {unknownModel, shortReply, wrongCode, wrongMagic, reservedSet})
        EXPECT_EQ(Discover(bytes), nullptr);
    EXPECT_TRUE(root.children->IsEmpty());
    EXPECT_TRUE(status.empty());
}

TEST_F(DeviceRegistryTest, EveryDeviceFoundCountsAlsoOneDrawnOnlyOnceRead)
{
    exBaseNode* zeta = Discover(DiscoveryReply(0x010A, 1, 0x0AC90010));
    ASSERT_NE(zeta, nullptr);
    EXPECT_TRUE(zeta->hidden);
    EXPECT_EQ(registry.FindByIp(0x0AC90010), zeta); // hidden devices are found all the same
    Discover(DiscoveryReply(0x0203, 1, 0x0AC90011));
    zeta->hidden = false; // as its device settings reply does
    Discover(DiscoveryReply(0x010A, 1, 0x0AC90010));
    Discover(DiscoveryReply(0x0318, 1, 0x0AC90012));
    EXPECT_THAT(status,
                testing::ElementsAre("1 Item Detected", "2 Items Detected", "3 Items Detected"));
}

TEST_F(DeviceRegistryTest, ADeviceComingBackIsReadAgainAndKeepsWhatTheUserEdited)
{
    exBaseNode* device = Discover(DiscoveryReply(0x0108, 1, 0x0AC90010));
    device->EnterStage(exBaseNode::kIdle);
    device->frontPanel->state.Read();
    for (exDMXPort* port : device->dmxPorts)
        port->state.Read();
    device->dmxPorts[1]->state.Edit();
    // Answering all along is no coming back: nothing is read again.
    Discover(DiscoveryReply(0x0108, 1, 0x0AC90010));
    EXPECT_EQ(device->readBackStage, exBaseNode::kIdle);
    EXPECT_TRUE(device->IsReadBack());

    device->Tick(5000);
    ASSERT_EQ(device->connectionState, exBaseNode::kLost);
    Discover(DiscoveryReply(0x0108, 1, 0x0AC90010));
    EXPECT_EQ(device->connectionState, exBaseNode::kOnline);
    EXPECT_EQ(device->readBackStage, exBaseNode::kDeviceStage);
    EXPECT_FALSE(device->frontPanel->state.MaySend());
    EXPECT_FALSE(device->dmxPorts[0]->state.MaySend());
    EXPECT_TRUE(device->dmxPorts[1]->state.IsEdited());
}

// A module in a switch's bay has no key of its own (model code and unit number 0): a reply
// carrying model 0 and unit 0, as anyone on the network can send, must not rewrite it.
TEST_F(DeviceRegistryTest, ModulesAreNeverMatchedByDiscovery)
{
    exBaseNode host(&root, 0);
    auto* module = new exBaseNode(&root, 4);
    module->host = &host;
    module->connectionState = exBaseNode::kHosted;
    root.children->Append(module);

    EXPECT_EQ(Discover(DiscoveryReply(0x0000, 0, 0x0AC90066)), nullptr);
    EXPECT_EQ(registry.FindByKey(0, 0), nullptr);
    EXPECT_EQ(module->network.currentIp, 0u);
    EXPECT_EQ(module->connectionState, exBaseNode::kHosted);
    EXPECT_EQ(root.children->GetCount(), 1u);
    module->host = nullptr;
}

TEST_F(DeviceRegistryTest, PendingAddressEditSurvivesFurtherReplies)
{
    exBaseNode* device = Discover(DiscoveryReply(0x0108, 1, 0x0AC90010));
    device->network.newIp = 0x0AC90020;
    device->network.newMask = 0xFFFFFF00;
    device->network.state.Edit();
    Discover(DiscoveryReply(0x0108, 1, 0x0AC90010));
    EXPECT_EQ(device->network.newIp, 0x0AC90020u);
    EXPECT_EQ(device->network.newMask, 0xFFFFFF00u);
    EXPECT_EQ(device->network.currentMask, 0xFFFF0000u);
}

TEST_F(DeviceRegistryTest, WithoutAPendingEditWhatIsSentFollowsTheDevice)
{
    // Readdressed at its front panel: an "Update" for another change must not move it back.
    exBaseNode* device = Discover(DiscoveryReply(0x0108, 1, 0x0AC90010));
    Discover(DiscoveryReply(0x0108, 1, 0x0AC90030));
    EXPECT_EQ(device->network.newIp, 0x0AC90030u);
    EXPECT_EQ(device->network.newMask, 0xFFFF0000u);
    EXPECT_FALSE(device->network.newDhcp);
    Discover(DiscoveryReply(0x0108, 1, 0)); // waiting for DHCP: reached where it sent from
    EXPECT_TRUE(device->network.newDhcp);
}

TEST_F(DeviceRegistryTest, ArtPollReplyGivesTheIdAndEndsOnlyThePollStage)
{
    exBaseNode* device = Discover(DiscoveryReply(0x0108, 1, 0x0AC90010));
    struct Case {
        std::string longName;
        uint16_t opCode;
        uint32_t sender;
        int stageBefore;
        int id;
        int stageAfter;
    } cases[] = {
        {"Pylon NodeDelta ID: 12", 0x2100, 0x0AC90010, exBaseNode::kPollStage, 12,
         exBaseNode::kIdle},
        {"Pylon NodeDelta ID: 34", 0x2100, 0x0AC90010, exBaseNode::kPortStage, 34,
         exBaseNode::kPortStage},
        {"Other maker", 0x2100, 0x0AC90010, exBaseNode::kPollStage, -1, exBaseNode::kIdle},
        {"Pylon NodeDelta ID: 56", 0x0000, 0x0AC90010, exBaseNode::kPollStage, -1,
         exBaseNode::kPollStage},
        {"Pylon NodeDelta ID: 78", 0x2100, 0x0AC90099, exBaseNode::kPollStage, -1,
         exBaseNode::kPollStage},
    };
    for (const Case& c : cases) {
        device->readBackStage = c.stageBefore;
        const std::vector<uint8_t> bytes = PollReply(c.longName, c.opCode);
        registry.HandleArtNetReply(bytes.data(), bytes.size(), c.sender);
        EXPECT_EQ(device->deviceId, c.id) << c.longName;
        EXPECT_EQ(device->readBackStage, c.stageAfter) << c.longName;
    }
    EXPECT_EQ(root.children->GetCount(), 1u);
}
