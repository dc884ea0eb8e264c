// The network settings dialog through its control tree: DHCP greying, "Set to Default" from the
// MAC, typed addresses that must parse before they are kept, and what "OK" marks and sends.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/appstate.h"
#include "common/controls/canvasbutton.h"
#include "common/controls/canvasiptextcontrol.h"
#include "common/controls/segmentedcontrol.h"
#include "devices/basenode.h"
#include "devices/ethernetport.h"
#include "dialogs/dialogpress.h"
#include "dialogs/ethernetportdialog.h"
#include "discovery/deviceregistry.h"
#include "net/updatesocket.h"
#include "support/handbytes.h"
#include "support/recordingendpoint.h"

using testing::ElementsAreArray;

namespace {

class EthernetPortDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        root.clientWidth = 1000;
        root.clientHeight = 800;
        exAppState::updateSocket = &update;
        update.broadcastAddresses.Add("10.201.0.255");
        savedAutoSend = exAppState::autoSend;
        exAppState::autoSend = 1;
        device = new exBaseNode(&root, 0);
        root.children->Append(device);
        exNetworkSettings& network = device->network;
        network.currentIp = network.newIp = 0x0A000005;
        network.currentMask = network.newMask = 0xFFFFFF00;
        network.unitNumber = 7;
        network.modelCode = 0x0108;
        network.mac = {0x00, 0x11, 0x22, 0xA0, 0xB1, 0xC2};
        device->ethernetPort1->RebuildTexts();
    }

    void TearDown() override
    {
        exAppState::updateSocket = nullptr;
        exAppState::autoSend = savedAutoSend;
    }

    exEthernetPortDialog* Open()
    {
        root.focusedControl = nullptr;
        device->ethernetPort1->OnClick(device->ethernetPort1, 0, 0);
        auto* dialog = dynamic_cast<exEthernetPortDialog*>(root.overlay);
        if (dialog)
            PaintToImage(*dialog, 1000, 800);
        return dialog;
    }

    void PressSegment(exCanvasSegementedControl* selector, int index)
    {
        PressOverlayControl(root, selector,
                            selector->segmentWidth * index + selector->segmentWidth / 2,
                            selector->height / 2);
    }

    void Type(const std::string& characters)
    {
        for (char c : characters)
            root.OnChar(wxChar(c));
    }

    exCanvasControl root{nullptr, 0, 0, 0, 0, wxEmptyString};
    exBaseNode* device = nullptr;
    RecordingEndpoint<exUpdateSocket> update;
    uint8_t savedAutoSend = 0;
};

wxColour FillOf(exEthernetPortDialog& dialog, exCanvasControl* entry)
{
    const wxImage image = PaintToImage(dialog, 1000, 800);
    const int x = dialog.x + entry->x + entry->width - 4;
    const int y = dialog.y + entry->y + entry->height / 2;
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

} // namespace

TEST_F(EthernetPortDialogTest, DhcpGreysTheEntriesAndManualOrDefaultEnablesThem)
{
    exEthernetPortDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->dhcpSelector->GetSelection(), exEthernetPortDialog::kManual);
    EXPECT_EQ(dialog->addressEntry->text, "10.0.0.5");
    EXPECT_EQ(dialog->maskEntry->text, "255.255.255.0");

    PressMiddle(root, dialog->addressEntry);
    ASSERT_EQ(root.focusedControl, dialog->addressEntry);
    PressSegment(dialog->dhcpSelector, exEthernetPortDialog::kDhcp);
    EXPECT_TRUE(dialog->pendingDhcp);
    EXPECT_FALSE(dialog->addressEntry->enabled);
    EXPECT_FALSE(dialog->maskEntry->enabled);
    EXPECT_EQ(root.focusedControl, nullptr) << "a greyed entry gives up the keyboard";
    Type("9");
    EXPECT_EQ(dialog->addressEntry->text, "10.0.0.5");
    PressMiddle(root, dialog->maskEntry);
    EXPECT_EQ(root.focusedControl, nullptr) << "a greyed entry takes no press";

    PressSegment(dialog->dhcpSelector, exEthernetPortDialog::kManual);
    EXPECT_FALSE(dialog->pendingDhcp);
    EXPECT_TRUE(dialog->addressEntry->enabled);
    EXPECT_TRUE(dialog->maskEntry->enabled);

    device->network.currentDhcp = true;
    dialog = Open();
    EXPECT_EQ(dialog->dhcpSelector->GetSelection(), exEthernetPortDialog::kDhcp);
    EXPECT_FALSE(dialog->addressEntry->enabled) << "a device on DHCP opens greyed";
    PressMiddle(root, dialog->defaultButton);
    EXPECT_EQ(dialog->dhcpSelector->GetSelection(), exEthernetPortDialog::kManual);
    EXPECT_TRUE(dialog->addressEntry->enabled);
    EXPECT_TRUE(dialog->maskEntry->enabled);
}

TEST_F(EthernetPortDialogTest, SetToDefaultTakesTheAddressFromTheMac)
{
    device->network.currentDhcp = true;
    exEthernetPortDialog* dialog = Open();
    PressMiddle(root, dialog->defaultButton);
    const exNetworkSettings& network = device->network;
    EXPECT_EQ(dialog->pendingIp, 0x02A0B1C2u);
    EXPECT_EQ(dialog->pendingMask, 0xFF000000u);
    EXPECT_FALSE(dialog->pendingDhcp);
    EXPECT_EQ(network.newIp, 0x0A000005u) << "the record changes only with OK";
    EXPECT_EQ(dialog->addressEntry->text, "2.160.177.194");
    EXPECT_EQ(dialog->maskEntry->text, "255.0.0.0");
    EXPECT_FALSE(network.state.IsEdited()) << "only OK marks the change";
    EXPECT_EQ(network.ipText, "10.0.0.5") << "the element shows the current address until sent";
    EXPECT_EQ(root.overlay, dialog);
}

TEST_F(EthernetPortDialogTest, TypedAddressesAndMasksAreKeptOnlyWhenTheyParse)
{
    struct Case {
        bool mask;
        const char* before;
        char typed;
        const char* text;
        uint32_t expected;
    } cases[] = {
        {false, "192.168.1.2", '0', "192.168.1.20", 0xC0A80114},
        {false, "192.168.1.25", '6', "192.168.1.256", 0x0A000005}, // a part above 255
        {false, "10.1.", '2', "10.1.2", 0x0A000005},               // three parts
        {false, "1.2.3.4.", '5', "1.2.3.4.5", 0x0A000005},         // five parts
        {false, "0.0.0.", '0', "0.0.0.0", 0x0A000005},             // no address
        {false, "10.0.0.", 'x', "10.0.0.x", 0x0A000005},
        {false, "10.0.0.50", '\b', "10.0.0.5", 0x0A000005},
        {true, "255.255.0.", '0', "255.255.0.0", 0xFFFF0000},
        {true, "255.255.0.", '.', "255.255.0..", 0xFFFFFF00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        device->network.newIp = 0x0A000005;
        device->network.newMask = 0xFFFFFF00;
        exEthernetPortDialog* dialog = Open();
        exCanvasIPTextControl* entry = c.mask ? dialog->maskEntry : dialog->addressEntry;
        PressMiddle(root, entry);
        entry->text = c.before;
        Type(std::string(1, c.typed));
        EXPECT_EQ(entry->text, c.text) << "the entry keeps what was typed";
        EXPECT_EQ(c.mask ? dialog->pendingMask : dialog->pendingIp, c.expected);
        EXPECT_EQ(c.mask ? dialog->pendingIp : dialog->pendingMask,
                  c.mask ? 0x0A000005u : 0xFFFFFF00u);
    }

    // A press on the address entry is not a change, even with a new text in it.
    exEthernetPortDialog* dialog = Open();
    dialog->addressEntry->text = "1.2.3.4";
    PressMiddle(root, dialog->addressEntry);
    EXPECT_EQ(dialog->pendingIp, 0x0A000005u);
}

TEST_F(EthernetPortDialogTest, EntryFillShowsWhetherTheAddressParses)
{
    exEthernetPortDialog* dialog = Open();
    EXPECT_EQ(FillOf(*dialog, dialog->addressEntry), wxColour(100, 160, 100));
    PressMiddle(root, dialog->addressEntry);
    Type(".");
    EXPECT_EQ(FillOf(*dialog, dialog->addressEntry), wxColour(160, 100, 100));
}

TEST_F(EthernetPortDialogTest, OkMarksAndSendsTheNewSettingsWhenImmediateSendingIsOn)
{
    for (bool autoSend : {false, true}) {
        SCOPED_TRACE(autoSend ? "immediate" : "on Update");
        exAppState::autoSend = autoSend;
        device->modified = false;
        update.sent.clear();
        exBaseNode* host = new exBaseNode(&root, 0);
        root.children->Append(host);
        device->host = host;

        exEthernetPortDialog* dialog = Open();
        PressMiddle(root, dialog->defaultButton);
        PressMiddle(root, dialog->okButton);
        EXPECT_EQ(root.overlay, nullptr);
        EXPECT_TRUE(device->modified);
        EXPECT_FALSE(host->modified) << "a host is not marked for its module's address";
        if (!autoSend) {
            EXPECT_TRUE(update.sent.empty());
            EXPECT_TRUE(device->network.state.IsEdited());
            EXPECT_EQ(device->network.ipText, "10.0.0.5");
            device->host = nullptr;
            continue;
        }
        ASSERT_EQ(update.sent.size(), 1u);
        EXPECT_EQ(update.sent[0].Address(), "10.201.0.255");
        std::vector<uint8_t> expected(282, 0);
        Put(expected, 0, {'M', '-', 'R', 0, 0x00, 0x88}); // magic, network settings
        Put(expected, 8, {0x00, 0x07, 0x01, 0x08});       // unit 7, model 0x0108
        Put(expected, 14, {0xC2, 0xB1, 0xA0, 0x02});      // 2.160.177.194, last octet first
        Put(expected, 18, {0x00, 0x00, 0x00, 0xFF});      // 255.0.0.0
        EXPECT_THAT(update.sent[0].bytes, ElementsAreArray(expected));
        EXPECT_FALSE(device->network.state.IsEdited());
        EXPECT_EQ(device->network.ipText, "2.160.177.194");
        device->host = nullptr;
    }
}

TEST_F(EthernetPortDialogTest, DiscoveryRepliesWhileTheDialogIsOpenDoNotChangeWhatOkSends)
{
    // The device keeps answering discovery once a second: 10.0.0.6, mask 255.255.255.0.
    std::vector<uint8_t> reply(50, 0);
    Put(reply, 0, {'M', '-', 'R', 0, 0x00, 0x11});        // magic, discovery reply
    Put(reply, 26, {0x00, 0x11, 0x22, 0xA0, 0xB1, 0xC2}); // MAC
    Put(reply, 32, {0x00, 0x07});                         // unit 7
    Put(reply, 40, {10, 0, 0, 6, 255, 255, 255, 0});      // address, mask
    Put(reply, 48, {0x01, 0x08});                         // model 0x0108
    exDeviceRegistry registry(&root);
    auto answerForSeconds = [&](int seconds) {
        for (int i = 0; i < seconds; ++i)
            ASSERT_EQ(registry.HandleDiscoveryReply(reply.data(), reply.size(), 0x0A000006),
                      device);
    };
    struct Case {
        const char* edit;
        std::vector<uint8_t> addressAndMask; // bytes 14..21, last octet first
    } cases[] = {
        {"Set to Default", {0xC2, 0xB1, 0xA0, 0x02, 0x00, 0x00, 0x00, 0xFF}},
        {"typed mask", {0x06, 0x00, 0x00, 0x0A, 0x00, 0x00, 0xFF, 0xFF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edit);
        answerForSeconds(1);
        update.sent.clear();
        exEthernetPortDialog* dialog = Open();
        if (std::string(c.edit) == "Set to Default") {
            PressMiddle(root, dialog->defaultButton);
        } else {
            PressMiddle(root, dialog->maskEntry);
            dialog->maskEntry->text = "255.255.0.";
            Type("0");
        }
        answerForSeconds(3);
        EXPECT_EQ(device->network.ipText, "10.0.0.6") << "the drawing behind follows the device";
        EXPECT_EQ(device->network.maskText, "255.255.255.0");
        PressMiddle(root, dialog->okButton);
        ASSERT_EQ(update.sent.size(), 1u);
        const std::vector<uint8_t>& sent = update.sent[0].bytes;
        EXPECT_THAT(std::vector<uint8_t>(sent.begin() + 14, sent.begin() + 22),
                    ElementsAreArray(c.addressAndMask));
    }
}

TEST_F(EthernetPortDialogTest, AChangeNotYetSentIsShownAgainAndSentAsShown)
{
    exAppState::autoSend = 0;
    exEthernetPortDialog* dialog = Open();
    PressMiddle(root, dialog->defaultButton);
    PressMiddle(root, dialog->okButton);
    ASSERT_TRUE(device->network.state.IsEdited());
    dialog = Open();
    EXPECT_EQ(dialog->addressEntry->text, "2.160.177.194");
    EXPECT_EQ(dialog->maskEntry->text, "255.0.0.0");
    PressMiddle(root, dialog->okButton);
    EXPECT_EQ(device->network.newIp, 0x02A0B1C2u);
    EXPECT_EQ(device->network.newMask, 0xFF000000u);
    EXPECT_TRUE(update.sent.empty());
}
