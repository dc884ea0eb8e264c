// The device models: what each one is made of, and the switches' settings on the wire.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/appstate.h"
#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "devices/modelcatalogue.h"
#include "devices/nodezeta.h"
#include "devices/switchkappa.h"
#include "devices/switchport.h"
#include "devices/switchtheta.h"
#include "net/artnetsocket.h"
#include "net/kivnetsocket.h"
#include "net/updatesocket.h"
#include "support/recordingendpoint.h"

using testing::ElementsAre;

namespace {

std::vector<uint8_t> Kivnet(uint16_t code, size_t length)
{
    std::vector<uint8_t> bytes(length, 0);
    const uint8_t header[] = {0x00,         0x36, 0x93, 0x16, 0x00, 0x01, uint8_t(code >> 8),
                              uint8_t(code)};
    std::copy(std::begin(header), std::end(header), bytes.begin());
    return bytes;
}

class ModelsTest : public testing::Test {
protected:
    ModelsTest() : root(nullptr, 0, 0, 0, 0, wxEmptyString)
    {
        exAppState::kivnetSocket = &kivnet;
        exAppState::artNetSocket = &artNet;
        exAppState::updateSocket = &update;
        update.broadcastAddresses.Add("10.201.0.255");
        kivnet.broadcastAddresses.Add("10.201.0.255");
    }
    ~ModelsTest() override
    {
        exAppState::kivnetSocket = nullptr;
        exAppState::artNetSocket = nullptr;
        exAppState::updateSocket = nullptr;
    }

    template <class Model> Model* Add(uint16_t code)
    {
        auto* device = dynamic_cast<Model*>(exModelCatalogue::Create(code, &root));
        root.children->Append(device);
        device->network.currentIp = 0x0AC90042;
        device->network.modelCode = code;
        device->network.state.Read(); // as its discovery reply gives it
        return device;
    }

    void Feed(exBaseNode* device, const std::vector<uint8_t>& bytes)
    {
        device->HandleReply(bytes.data(), bytes.size());
    }

    std::vector<int> SentCodes()
    {
        std::vector<int> codes;
        for (const auto& sent : kivnet.sent)
            codes.push_back(sent.bytes[6] << 8 | sent.bytes[7]);
        kivnet.sent.clear();
        return codes;
    }

    RecordingEndpoint<bxKivnetSocket> kivnet;
    RecordingEndpoint<bxArtNetSocket> artNet;
    RecordingEndpoint<exUpdateSocket> update;
    exCanvasControl root;
};

int Design(const exCanvasControl* control, int pixels)
{
    // Positions are stored truncated; the design value is the one that truncates to them.
    for (int design = 0; design < 1000; ++design)
        if (int(design * control->displayScale) == pixels)
            return design;
    return -1;
}

} // namespace

TEST_F(ModelsTest, CatalogueMakesEveryModel)
{
    struct Case {
        uint16_t code;
        const char* title;
        int dmxPorts;
        int switchPorts;
        int style;
        bool hidden;
        int socketsOne;
        int socketsTwo;
    } cases[] = {
        {0x0107, "Sprite", 2, 0, 0, false, 1, 0},
        {0x0111, "NodeAlpha", 1, 0, 0, false, 0, 1},
        {0x0103, "Pylon NodeBeta", 3, 0, 2, false, 0, 2},
        {0x0106, "Pylon NodeGamma", 6, 0, 2, false, 3, 2},
        {0x0108, "Pylon NodeDelta", 10, 0, 1, false, 0, 1},
        {0x0109, "Pylon NodeEpsilon", 8, 0, 2, false, 0, 2},
        {0x010A, "Pylon NodeZeta", 8, 0, 3, true, 0, 2},
        {0x0203, "Pylon StoreEta", 4, 0, 3, true, 0, 2},
        {0x0318, "Pylon SwitchTheta", 0, 8, 2, false, 0, -1},
        {0x300E, "Pylon SwitchIota", 0, 8, 0, false, 0, -1},
        {0x0319, "Pylon SwitchKappa 10", 0, 10, 3, false, 0, -1},
        {0x2024, "Pylon SwitchKappa 10", 0, 10, 3, false, 0, -1},
    };
    for (const Case& c : cases) {
        std::unique_ptr<exBaseNode> device(exModelCatalogue::Create(c.code, &root));
        ASSERT_NE(device, nullptr) << c.code;
        EXPECT_EQ(device->title, c.title);
        EXPECT_EQ(int(device->dmxPorts.size()), c.dmxPorts) << c.title;
        EXPECT_EQ(int(device->switchPorts.size()), c.switchPorts) << c.title;
        EXPECT_EQ(device->switchPortCount, c.switchPorts) << c.title;
        EXPECT_EQ(device->panelStyle, c.style) << c.title;
        EXPECT_EQ(device->hidden, c.hidden) << c.title;
        EXPECT_EQ(device->ethernetPort1->socketCount, c.socketsOne) << c.title;
        EXPECT_EQ(device->ethernetPort2->socketCount, c.socketsTwo) << c.title;
        EXPECT_EQ(device->children->GetCount(), size_t(c.dmxPorts + c.switchPorts + 3)) << c.title;
        // The display stays the last child.
        EXPECT_EQ(*std::next(device->children->begin(), device->children->GetCount() - 1),
                  device->frontPanel);
    }
    for (uint16_t code : {0x0000, 0x0308, 0x0110, 0x0320, 0xFFFF})
        EXPECT_EQ(exModelCatalogue::Create(code, &root), nullptr) << code;
}

TEST_F(ModelsTest, PortPlacesAndFlags)
{
    exBaseNode* delta = Add<exBaseNode>(0x0108);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(Design(delta, delta->dmxPorts[i]->x), 685 - 50 * i);
        EXPECT_EQ(Design(delta, delta->dmxPorts[i]->y), 75);
        EXPECT_EQ(delta->dmxPorts[i]->optionFlag, i >= 8) << i;
    }
    EXPECT_EQ(Design(delta, delta->dmxPorts[9]->x), 235);

    exBaseNode* theta = Add<exBaseNode>(0x0318);
    exBaseNode* iota = Add<exBaseNode>(0x300E);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(Design(theta, theta->switchPorts[i]->x), 565 - 45 * i);
        EXPECT_EQ(theta->switchPorts[i]->hasSfp, i >= 6);
        EXPECT_FALSE(iota->switchPorts[i]->hasSfp);
        EXPECT_FALSE(iota->switchPorts[i]->trunkCapable);
        EXPECT_FALSE(iota->switchPorts[i]->speedSelectable);
    }
    EXPECT_EQ(theta->switchPorts[6]->sfpOffsetX, -150);
    EXPECT_EQ(theta->switchPorts[7]->sfpOffsetX, -60);
    EXPECT_EQ(Design(iota, iota->frontPanel->x), 700);
    EXPECT_TRUE(Add<exBaseNode>(0x0103)->frontPanel->greyOutline);
}

TEST_F(ModelsTest, NodeAlphaAsksForWirePortOne)
{
    exBaseNode* alpha = Add<exBaseNode>(0x0111);
    alpha->StartRefresh();
    Feed(alpha, Kivnet(0x8021, 96));
    alpha->Tick(50);
    ASSERT_EQ(kivnet.sent.size(), 1u);
    EXPECT_THAT(kivnet.sent[0].bytes,
                ElementsAre(0x00, 0x36, 0x93, 0x16, 0x00, 0x01, 0x00, 0x31, // port request
                            0x01, 0x00));                                   // wire port 1
}

TEST_F(ModelsTest, SwitchThetaReadsIdentityThenSettingsAndSendsThemBack)
{
    auto* theta = Add<exSwitchTheta>(0x0318);
    theta->StartRefresh();
    theta->Tick(50);
    EXPECT_THAT(SentCodes(), ElementsAre(0x0041, 0x0010));

    std::vector<uint8_t> identify = Kivnet(0x8011, 44);
    std::copy_n("Rack A", 6, identify.begin() + 8); // name
    identify[41] = 0x42;                            // tens 4, units 2
    identify[42] = 1;                               // hundreds
    Feed(theta, identify);
    EXPECT_EQ(theta->deviceId, 142);
    EXPECT_EQ(theta->deviceName, "Rack A");
    EXPECT_THAT(SentCodes(), ElementsAre(0x0041));

    std::vector<uint8_t> settings = Kivnet(0x8041, 450);
    std::copy_n("Rack B", 6, settings.begin() + 8); // name
    settings[26] = 2;                               // locked
    settings[27] = 8;                               // eight records
    settings[28] = 5;                               // time-out, little-endian
    settings[30] = 0x34;                            // switch word 0x1234, little-endian
    settings[31] = 0x12;
    settings[66] = 2; // port 1: loop with port 3
    settings[68] = 3;
    settings[66 + 16] = 1; // port 2: normal, VLAN 0x0102
    settings[66 + 16 + 2] = 0x02;
    settings[66 + 16 + 3] = 0x01;
    // Ports 3..8: normal, VLAN 1, speed 10.
    for (int port = 2; port < 8; ++port) {
        settings[66 + 16 * port] = 1;
        settings[66 + 16 * port + 1] = 1;
        settings[66 + 16 * port + 2] = 1;
    }
    // A reply carrying only two of the eight ports leaves the others unread: nothing is sent
    // that would write defaults over them.
    std::vector<uint8_t> partial = settings;
    partial[27] = 2;
    Feed(theta, partial);
    EXPECT_FALSE(theta->switchPorts[2]->state.MaySend());
    theta->ProgramAll();
    EXPECT_TRUE(kivnet.sent.empty() || kivnet.sent.back().bytes.size() != 450u);
    kivnet.sent.clear();
    update.sent.clear();
    Feed(theta, settings);
    EXPECT_EQ(theta->readBackStage, exBaseNode::kIdle);
    EXPECT_EQ(theta->deviceName, "Rack B");
    EXPECT_TRUE(theta->locked);
    EXPECT_EQ(theta->displayTimeout, 5);
    EXPECT_EQ(theta->switchPorts[0]->GetStatusText(), "Loop 3");
    EXPECT_EQ(theta->switchPorts[1]->vlan, 0x0102);
    EXPECT_EQ(theta->switchPorts[2]->mode, 1);
    EXPECT_EQ(theta->switchPorts[2]->speed, 1); // read, and sent back as read

    theta->switchPorts[1]->state.Edit();
    theta->switchPorts[1]->speed = 2;
    theta->frontPanel->state.Edit();
    theta->deviceName = "Edited";
    theta->locked = false;

    // A slow switch's late answers arrive before "Update": edited values stay, others follow.
    std::vector<uint8_t> late = settings;
    late[66 + 16 + 2] = 0x09; // port 2's VLAN, edited: stays 0x0102
    late[66] = 1;             // port 1, not edited: normal, VLAN 5
    late[68] = 5;
    Feed(theta, late);
    Feed(theta, identify);
    EXPECT_EQ(theta->deviceName, "Edited");
    EXPECT_FALSE(theta->locked);
    EXPECT_EQ(theta->switchPorts[1]->vlan, 0x0102);
    EXPECT_EQ(theta->switchPorts[0]->GetStatusText(), "Normal");
    EXPECT_THAT(SentCodes(), ElementsAre(0x0041)) << "the identify reply asks for settings";
    late[66] = 2; // port 1 loops with port 3 again, as the next assertions expect
    late[68] = 3;
    Feed(theta, late);
    theta->locked = true;
    theta->ProgramAll();
    ASSERT_EQ(kivnet.sent.size(), 1u);
    const std::vector<uint8_t>& out = kivnet.sent[0].bytes;
    ASSERT_EQ(out.size(), 450u);
    EXPECT_EQ(out[7], 0x40);                   // switch settings
    EXPECT_EQ(out[26], 2);                     // lock + 1
    EXPECT_EQ(out[27], 8);                     // all eight ports
    EXPECT_EQ(out[30] | out[31] << 8, 0x1234); // switch word back as it came
    EXPECT_THAT(std::vector<uint8_t>(out.begin() + 66, out.begin() + 70),
                ElementsAre(2, 0, 3, 0)); // mode, speed, partner
    EXPECT_THAT(std::vector<uint8_t>(out.begin() + 82, out.begin() + 86),
                ElementsAre(1, 2, 0x02, 0x01)); // mode, speed, VLAN
    EXPECT_EQ(out[66 + 16 * 2 + 1], 1);         // port 3's speed, as it was read
    EXPECT_FALSE(theta->switchPorts[1]->state.IsEdited());
    EXPECT_FALSE(theta->frontPanel->state.IsEdited());
    EXPECT_EQ(update.sent.size(), 1u); // then the network settings
}

TEST_F(ModelsTest, SwitchKappaLayoutFollowsItsPortCount)
{
    auto* kappa = Add<exSwitchKappa>(0x0319);
    kappa->network.ipText = "10.201.0.66";
    struct Case {
        int count;
        const char* title;
        int front;
        int x1;
        int x2;
    } cases[] = {{18, "Pylon SwitchKappa 18", 8, 105, 510},
                 {10, "Pylon SwitchKappa 10", 4, 285, 510}};
    for (const Case& c : cases) {
        std::vector<uint8_t> identify = Kivnet(0x8011, 44);
        identify[43] = uint8_t(c.count);
        Feed(kappa, identify);
        ASSERT_EQ(int(kappa->switchPorts.size()), c.count);
        EXPECT_EQ(kappa->title, c.title);
        int front = 0;
        for (exSwitchPort* port : kappa->switchPorts)
            front += port->y == 0;
        EXPECT_EQ(front, c.front);
        exSwitchPort* x1 = kappa->switchPorts[c.count - 2];
        exSwitchPort* x2 = kappa->switchPorts[c.count - 1];
        EXPECT_EQ(x1->label, "X1");
        EXPECT_EQ(x2->label, "X2");
        EXPECT_EQ(x1->connectorKind, exSwitchPort::kSfpOnly);
        EXPECT_EQ(Design(kappa, x1->x), c.x1);
        EXPECT_EQ(Design(kappa, x2->x), c.x2);
        EXPECT_EQ(kappa->children->GetCount(), size_t(c.count + 3));
    }
    // A count the layout cannot hold changes nothing.
    std::vector<uint8_t> identify = Kivnet(0x8011, 44);
    identify[43] = 1;
    Feed(kappa, identify);
    EXPECT_EQ(kappa->switchPorts.size(), 10u);

    kappa->RequestDeviceSettings();
    ASSERT_FALSE(kivnet.sent.empty());
    EXPECT_EQ(kivnet.sent.back().Address(), "10.201.0.66");
    EXPECT_THAT(kivnet.sent.back().bytes,
                ElementsAre(0x00, 0x36, 0x93, 0x16, 0x00, 0x01, 0x00, 0x10, 0xFF, 0xFF));
}

TEST_F(ModelsTest, SwitchKappaCarriesModulesInItsBays)
{
    auto* kappa = Add<exSwitchKappa>(0x0319);
    auto* other = Add<exBaseNode>(0x0108);
    kappa->StartRefresh();
    kivnet.sent.clear();

    auto settings = [](uint8_t bays12, uint8_t bays34) {
        std::vector<uint8_t> bytes = Kivnet(0x8041, 1354);
        bytes[27] = 10;       // ten port records
        bytes[1346] = bays12; // bay 1 low nibble, bay 2 high nibble
        bytes[1347] = bays34;
        return bytes;
    };
    Feed(kappa, settings(0x08, 0x04)); // bay 1: 8 ports, bay 3: 4 ports
    ASSERT_NE(kappa->modules[1], nullptr);
    ASSERT_NE(kappa->modules[3], nullptr);
    EXPECT_EQ(kappa->modules[2], nullptr);
    EXPECT_EQ(kappa->dmxPortCount, 12);
    std::vector<exCanvasControl*> order(root.children->begin(), root.children->end());
    EXPECT_THAT(order, ElementsAre(kappa, kappa->modules[1], kappa->modules[3], other));

    exNodeZeta* module = kappa->modules[3];
    EXPECT_EQ(module->host, kappa);
    EXPECT_FALSE(module->hidden);
    EXPECT_TRUE(module->frontPanel->hidden);
    EXPECT_TRUE(module->ethernetPort2->hidden);
    EXPECT_EQ(module->dmxPorts[0]->portNumber, 48);
    EXPECT_EQ(kappa->GetDMXPort(49), module->dmxPorts[1]);
    EXPECT_EQ(kappa->GetDMXPort(32), nullptr);
    EXPECT_EQ(kappa->GetDMXPort(15), nullptr);

    // The read-back walks the ports of bay 1, passes the empty bay 2 and reads bay 3's.
    EXPECT_EQ(kappa->readBackStage, exBaseNode::kPortStage);
    std::vector<int> asked;
    for (int step = 0; step < 20 && kappa->readBackStage == exBaseNode::kPortStage; ++step) {
        ASSERT_FALSE(kivnet.sent.empty());
        const uint8_t wirePort = kivnet.sent.back().bytes[8];
        asked.push_back(wirePort);
        kivnet.sent.clear();
        std::vector<uint8_t> reply = Kivnet(0x8031, 164);
        reply[8] = wirePort;
        reply[9] = 2;  // output
        reply[12] = 3; // universe code 0x03nn: sACN universe nn
        reply[13] = wirePort;
        Feed(kappa, reply);
    }
    EXPECT_THAT(asked, ElementsAre(16, 17, 18, 19, 20, 21, 22, 23, 48, 49, 50, 51));

    EXPECT_EQ(kappa->modules[1]->dmxPorts[7]->mode, exDMXPort::kOutput);
    EXPECT_EQ(kappa->modules[1]->dmxPorts[7]->universe, 23);
    EXPECT_EQ(module->dmxPorts[3]->universe, 51);
    // Bay 3 reports four ports: the module shows those four, and with them it is read back.
    EXPECT_FALSE(module->dmxPorts[3]->hidden);
    EXPECT_TRUE(module->dmxPorts[4]->hidden);
    EXPECT_TRUE(module->IsReadBack());
    EXPECT_TRUE(kappa->modules[1]->IsReadBack());
    // A slow switch answers each request twice, late answers included: every port is still
    // asked for and read once, in order, and the walk ends only after the last one.
    kappa->StartRefresh();
    Feed(kappa, settings(0x08, 0x04));
    asked.clear();
    std::vector<uint8_t> previous;
    for (int step = 0; step < 40 && kappa->readBackStage == exBaseNode::kPortStage; ++step) {
        ASSERT_FALSE(kivnet.sent.empty());
        const uint8_t wirePort = kivnet.sent.back().bytes[8];
        if (asked.empty() || asked.back() != wirePort)
            asked.push_back(wirePort);
        kivnet.sent.clear();
        std::vector<uint8_t> reply = Kivnet(0x8031, 164);
        reply[8] = wirePort;
        reply[9] = 1; // input
        Feed(kappa, reply);
        Feed(kappa, reply);
        if (!previous.empty())
            Feed(kappa, previous);
        previous = reply;
    }
    EXPECT_THAT(asked, ElementsAre(16, 17, 18, 19, 20, 21, 22, 23, 48, 49, 50, 51));
    EXPECT_EQ(kappa->modules[1]->dmxPorts[7]->mode, exDMXPort::kInput);
    EXPECT_EQ(module->dmxPorts[3]->mode, exDMXPort::kInput);

    // Modules do not time out; an emptied bay shows its module lost, and a refilled one gets it
    // back.
    kappa->OnAlive();
    for (int i = 0; i < 200; ++i)
        for (exCanvasControl* device : order)
            static_cast<exBaseNode*>(device)->Tick(50);
    EXPECT_EQ(module->connectionState, exBaseNode::kHosted);
    Feed(kappa, settings(0x08, 0x00));
    EXPECT_EQ(module->connectionState, exBaseNode::kLost);
    EXPECT_EQ(root.children->GetCount(), 4u);
    Feed(kappa, settings(0x08, 0x04));
    EXPECT_EQ(module->connectionState, exBaseNode::kHosted);
    EXPECT_EQ(kappa->modules[3], module);
    // Put back, perhaps another module: its ports are read again before any of them is sent.
    EXPECT_FALSE(module->dmxPorts[0]->state.MaySend());
    EXPECT_EQ(kappa->readBackStage, exBaseNode::kPortStage);

    module->dmxPorts[0]->state.Edit();
    kivnet.sent.clear();
    kappa->ProgramAll();
    // Settings, bay 1's eight ports read back, and of bay 3 only the port the user set.
    EXPECT_EQ(kivnet.sent.size(), 1u + 8 + 1);
    EXPECT_EQ(kivnet.sent[0].bytes.size(), 1354u);
    EXPECT_FALSE(module->dmxPorts[0]->state.IsEdited());

    // Back after being away: the switch reads its modules' ports again through its own
    // read-back; a module, which has no address, is never asked on its own.
    kappa->ReadAgain();
    EXPECT_EQ(kappa->readBackStage, exBaseNode::kDeviceStage);
    EXPECT_FALSE(kappa->modules[1]->dmxPorts[0]->state.MaySend());
    kivnet.sent.clear();
    for (int i = 0; i < 10; ++i)
        module->Tick(50);
    EXPECT_TRUE(kivnet.sent.empty());
}

TEST_F(ModelsTest, SwitchKappaAsksForItsIdentityEverySecondWhileOnline)
{
    auto* kappa = Add<exSwitchKappa>(0x0319);
    for (int i = 0; i < 40; ++i)
        kappa->Tick(50);
    EXPECT_TRUE(kivnet.sent.empty()); // never seen: lost
    kappa->OnAlive();
    for (int i = 0; i < 40; ++i)
        kappa->Tick(50);
    EXPECT_THAT(SentCodes(), ElementsAre(0x0010, 0x0010));
}
