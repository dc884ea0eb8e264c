// The switch port dialog: the entry rule, the VLAN and partner keys, the loop pairing on "OK"
// with its trace lines, and what "OK" marks and sends, driven through the control tree.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/appstate.h"
#include "common/controls/canvasbutton.h"
#include "common/controls/canvastextcontrol.h"
#include "common/controls/numberkeyboard.h"
#include "common/controls/segmentedcontrol.h"
#include "devices/basenode.h"
#include "devices/modelcatalogue.h"
#include "devices/switchport.h"
#include "devices/switchrecords.h"
#include "dialogs/dialogpress.h"
#include "dialogs/messagedialog.h"
#include "dialogs/switchportdialog.h"
#include "support/canvasevents.h"
#include "support/readback.h"

namespace {

// A switch with `count` ports that counts the switch settings messages it is asked to send.
class CountingSwitch : public exBaseNode {
public:
    CountingSwitch(exCanvasControl* parent, int count) : exBaseNode(parent, 0)
    {
        for (int i = 0; i < count; ++i) {
            auto* port = new exSwitchPort(this, i);
            children->Append(port);
            switchPorts.push_back(port);
        }
        switchPortCount = count;
    }
    void SendSwitchSettings() override { ++sends; }
    int sends = 0;
};

class SwitchPortDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        exAppState::autoSend = 1;
        root.clientWidth = 1000;
        root.clientHeight = 700;
        MakeSwitch(8);
    }
    void TearDown() override { exAppState::autoSend = 0; }

    void MakeSwitch(int count)
    {
        device = new CountingSwitch(&root, count);
        root.children->Append(device);
        MarkReadBack(*device);
    }

    exSwitchPort* PortNo(int number) { return device->switchPorts[size_t(number - 1)]; }

    void Loop(int a, int b)
    {
        PortNo(a)->mode = exSwitchPort::kTrunkOrLoop;
        PortNo(a)->loopPartner = b;
        PortNo(b)->mode = exSwitchPort::kTrunkOrLoop;
        PortNo(b)->loopPartner = a;
    }

    // Opens the dialog the way a click on the port does.
    exSwitchPortDialog* Open(int number)
    {
        dialog = OpenByClick<exSwitchPortDialog>(root, PortNo(number));
        return dialog;
    }

    // Presses a point of `control` (relative to it) through the overlay, then lets go.
    void Press(exCanvasControl* control, int dx = 2, int dy = 2)
    {
        PressAndRelease(root, control, dx, dy);
    }

    void PressKey(int digit) { Press(dialog->keyboard->keys[(digit + 9) % 10]); }

    // Runs a script of steps on the open dialog: "M<i>" presses mode segment i, "P" and "V"
    // press the partner and VLAN entries, "k<d>" presses key d on the keypad, "t<c>" types c,
    // "b" types Backspace, "OK" presses "OK".
    void Run(const std::string& script)
    {
        std::istringstream steps(script);
        std::string step;
        while (steps >> step) {
            if (step[0] == 'M') {
                exCanvasSegementedControl* modes = dialog->modeSelector;
                Press(modes, modes->SegmentLeft(step[1] - '0') + 2);
            } else if (step == "P") {
                Press(dialog->partnerEntry);
            } else if (step == "V") {
                Press(dialog->vlanEntry);
            } else if (step[0] == 'k') {
                PressKey(step[1] - '0');
            } else if (step[0] == 't') {
                root.OnChar(wxChar(step[1]));
            } else if (step == "b") {
                root.OnChar(8);
            } else if (step == "OK") {
                Press(dialog->okButton);
            } else {
                FAIL() << "unknown step " << step;
            }
        }
    }

    // "mode/partner" of every port, and which ports carry the modified mark.
    std::string Ports()
    {
        std::string out;
        for (exSwitchPort* port : device->switchPorts)
            out += std::to_string(port->mode) + "/" + std::to_string(port->loopPartner) +
                   (port->state.IsEdited() ? "* " : " ");
        out.pop_back();
        return out;
    }

    ScopedTextMeasurer measurer{{}};
    exCanvasControl root{nullptr, 0, 0, 0, 0, wxEmptyString};
    CountingSwitch* device = nullptr;
    exSwitchPortDialog* dialog = nullptr;
};

} // namespace

TEST_F(SwitchPortDialogTest, LoopPairingOnOk)
{
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> loops;
        int opened;
        const char* script;
        const char* ports; // ports 1..8 as mode/partner, * = modified
        const char* trace;
    } cases[] = {
        // clang-format off
        {"a normal port loops with 5", {}, 3, "M2 P k5 k5 OK",
         "1/0 1/0 2/5* 1/0 2/3* 1/0 1/0 1/0", "Set new Partner to Loop\n"},
        {"OK without changes keeps the pair", {{3, 5}}, 3, "OK",
         "1/0 1/0 2/5* 1/0 2/3* 1/0 1/0 1/0", "Set new Partner to Loop\n"},
        {"normal releases the partner", {{3, 5}}, 3, "M1 OK",
         "1/0 1/0 1/5* 1/0 1/0* 1/0 1/0 1/0", ""},
        {"disabled releases the partner", {{3, 5}}, 3, "M0 OK",
         "1/0 1/0 0/5* 1/0 1/0* 1/0 1/0 1/0", ""},
        {"the new partner's partner is released", {{5, 7}}, 3, "M2 P k5 k5 OK",
         "1/0 1/0 2/5* 1/0 2/3* 1/0 1/0* 1/0",
         "Set Old Partner From Partner to Normal\nSet new Partner to Loop\n"},
        {"re-pairing releases the previous partner", {{3, 5}}, 3, "P k6 k6 OK",
         "1/0 1/0 2/6* 1/0 1/0* 2/3* 1/0 1/0",
         "Set Old Partner to Normal\nSet new Partner to Loop\n"},
        {"both old partners go", {{3, 5}, {6, 8}}, 3, "P b k6 OK",
         "1/0 1/0 2/6* 1/0 1/0* 2/3* 1/0 1/0*",
         "Set Old Partner From Partner to Normal\nSet Old Partner to Normal\n"
         "Set new Partner to Loop\n"},
        {"a loop turned trunk releases its partner", {{3, 5}}, 3, "P b OK",
         "1/0 1/0 2/0* 1/0 1/0* 1/0 1/0 1/0", "Set Old Partner to Normal\n"},
        {"its own number is no partner", {}, 3, "M2 P k3 k3 OK",
         "1/0 1/0 2/0* 1/0 1/0 1/0 1/0 1/0", ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (exSwitchPort* port : device->switchPorts) {
            port->mode = exSwitchPort::kNormal;
            port->loopPartner = 0;
            port->state.Sent();
        }
        for (const auto& loop : c.loops)
            Loop(loop.first, loop.second);
        Open(c.opened);
        testing::internal::CaptureStdout();
        Run(c.script);
        const std::string trace = testing::internal::GetCapturedStdout();
        EXPECT_EQ(Ports(), c.ports);
        EXPECT_EQ(trace, c.trace);
    }
}

TEST_F(SwitchPortDialogTest, StalePartnersAreNeverFollowed)
{
    // Port 3 was once looped with 5 and kept the number; 5 has since looped with 7.
    Loop(5, 7);
    PortNo(3)->loopPartner = 5;
    Open(3);
    Run("OK");
    EXPECT_EQ(Ports(), "1/0 1/0 1/5* 1/0 2/7 1/0 2/5 1/0");

    // A partner above the port count, as a device might report it, is dropped, not followed.
    PortNo(2)->mode = exSwitchPort::kTrunkOrLoop;
    PortNo(2)->loopPartner = 12;
    Open(2);
    EXPECT_EQ(dialog->partnerEntry->text, "12");
    testing::internal::CaptureStdout();
    Run("OK");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(PortNo(2)->loopPartner, 0);
}

TEST_F(SwitchPortDialogTest, PartnerKeys)
{
    struct Case {
        int ports;
        const char* script;
        std::vector<int> partners; // after each step after "P"
        const char* text;
    } cases[] = {
        {8, "k5 k5", {0, 5}, "5"},             // the first key only empties the entry
        {8, "k4 k1 k2", {0, 1, 2}, "2"},       // 12 is above 8: start over with 2
        {8, "k4 k1 k9", {0, 1, 1}, "1"},       // no port 9 on this switch: refused
        {8, "k4 k0 k3 k0", {0, 0, 3, 0}, "0"}, // no leading zero; 30 > 8 starts over at 0
        {18, "k4 k1 k8", {0, 1, 18}, "18"},
        {18, "k4 k1 k8 b", {0, 1, 18, 0}, ""}, // Backspace empties the entry
        {8, "k4 ta k2", {0, 0, 2}, "2"},       // letters change nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        root.children->DeleteObject(device);
        delete device;
        MakeSwitch(c.ports);
        PortNo(1)->mode = exSwitchPort::kTrunkOrLoop;
        PortNo(1)->loopPartner = 4;
        Open(1);
        Run("P");
        std::istringstream steps(c.script);
        std::string step;
        for (int expected : c.partners) {
            steps >> step;
            Run(step);
            EXPECT_EQ(dialog->pendingPartner, expected) << step;
        }
        EXPECT_EQ(dialog->partnerEntry->text, c.text);
    }
}

TEST_F(SwitchPortDialogTest, VlanKeysKeepTheVlanBetweenOneAnd4094)
{
    struct Case {
        const char* script;
        std::vector<int> vlans; // after each step after "V"
    } cases[] = {
        {"k0", {1}},
        {"k4 k0 k9 k5", {4, 40, 409, 5}},
        {"k4 k0 k9 b", {4, 40, 409, 40}},
        {"k5 b", {5, 1}},
        {"b", {1}},
        {"t4 t0 t9 t4 t1", {4, 40, 409, 4094, 1}},
        {"tx k7", {12, 7}}, // a letter neither changes the VLAN nor uses up the first key
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        PortNo(2)->mode = exSwitchPort::kNormal;
        PortNo(2)->vlan = 12;
        Open(2);
        Run("V");
        std::istringstream steps(c.script);
        std::string step;
        for (int expected : c.vlans) {
            steps >> step;
            Run(step);
            EXPECT_EQ(dialog->pendingVlan, expected) << step;
            EXPECT_EQ(dialog->vlanEntry->text, wxString::Format("%d", expected)) << step;
        }
    }

    // Any mix of keys: every intermediate VLAN is a valid one and is what the entry shows.
    Open(2);
    Run("V");
    uint32_t seed = 7;
    const char keys[] = "0123456789\bx ";
    for (int i = 0; i < 3000; ++i) {
        seed = seed * 1103515245u + 12345u;
        root.OnChar(wxChar(keys[(seed >> 16) % (sizeof(keys) - 1)]));
        ASSERT_GE(dialog->pendingVlan, 1);
        ASSERT_LE(dialog->pendingVlan, 4094);
        ASSERT_EQ(dialog->vlanEntry->text, wxString::Format("%d", dialog->pendingVlan));
    }
}

TEST_F(SwitchPortDialogTest, EntryRuleFollowsTheMode)
{
    PortNo(4)->vlan = 30;
    Open(4);
    EXPECT_TRUE(dialog->vlanEntry->enabled);
    EXPECT_FALSE(dialog->partnerEntry->enabled);
    EXPECT_EQ(dialog->vlanEntry->text, "30");

    PressKey(7);
    EXPECT_EQ(dialog->pendingVlan, 30) << "the keypad does nothing while neither entry has focus";

    Run("V M2");
    EXPECT_EQ(dialog->pendingMode, exSwitchPort::kTrunkOrLoop);
    EXPECT_EQ(root.focusedControl, dialog->partnerEntry) << "the focus moves to the partner";
    EXPECT_FALSE(dialog->vlanEntry->enabled);
    Run("k6 k6");
    EXPECT_EQ(dialog->partnerEntry->text, "6");

    Run("M1");
    EXPECT_EQ(root.focusedControl, dialog->vlanEntry);
    EXPECT_FALSE(dialog->partnerEntry->enabled);
    EXPECT_EQ(dialog->partnerEntry->text, "");
    EXPECT_EQ(dialog->pendingPartner, 6) << "a normal port keeps its partner number";

    Run("M2");
    EXPECT_EQ(dialog->partnerEntry->text, "6");
}

TEST_F(SwitchPortDialogTest, PortWithoutTrunkOffersLoopAndNoVlan)
{
    for (exSwitchPort* port : device->switchPorts) {
        port->trunkCapable = false;
        port->speedSelectable = false;
    }
    Open(1);
    EXPECT_EQ(dialog->vlanEntry, nullptr);
    EXPECT_EQ(dialog->speedSelector, nullptr);
    EXPECT_EQ(dialog->modeSelector->items[2], "Loop");
    Run("M2 P k2 k2");
    EXPECT_EQ(dialog->pendingPartner, 2);
    Run("M1");
    EXPECT_EQ(root.focusedControl, nullptr) << "no VLAN entry to take the focus over";
    const int vlan = dialog->pendingVlan;
    Run("k3 t4 b");
    EXPECT_EQ(dialog->pendingVlan, vlan);
    EXPECT_EQ(dialog->pendingPartner, 2);
}

TEST_F(SwitchPortDialogTest, SelectorsShareTheirWidthAndSpeedIsWritten)
{
    struct Case {
        bool sfp;
        int speed, items;
    } cases[] = {{false, 2, 3}, {true, 3, 4}};
    for (const Case& c : cases) {
        PortNo(7)->hasSfp = c.sfp;
        PortNo(7)->speed = c.speed;
        Open(7);
        exCanvasSegementedControl* speed = dialog->speedSelector;
        ASSERT_NE(speed, nullptr);
        EXPECT_EQ(speed->itemCount, c.items);
        EXPECT_EQ(speed->GetSelection(), c.speed);
        EXPECT_EQ(speed->width, dialog->modeSelector->width);
        const float s = dialog->displayScale;
        EXPECT_EQ(dialog->width, int(40 * s) + dialog->modeSelector->width);
        EXPECT_EQ(dialog->height, int(290 * s));
        EXPECT_EQ(dialog->keyboard->x, int((dialog->width - 60 * s) * 0.5));
        EXPECT_EQ(dialog->partnerEntry->x, int(int(dialog->keyboard->x / s) * s));
        Press(speed, speed->SegmentLeft(1) + 2);
        EXPECT_EQ(dialog->pendingSpeed, 1);
    }
}

TEST_F(SwitchPortDialogTest, OkMarksAndSendsOnlyWithAutoUpdate)
{
    for (uint8_t autoSend : {1, 0}) {
        SCOPED_TRACE(int(autoSend));
        exAppState::autoSend = autoSend;
        device->sends = 0;
        device->modified = false;
        PortNo(2)->state.Sent();
        Open(2);
        Run("V k9 OK");
        EXPECT_EQ(root.overlay, nullptr);
        EXPECT_EQ(root.retiredOverlay, dialog);
        EXPECT_EQ(root.focusedControl, nullptr);
        EXPECT_TRUE(device->modified);
        EXPECT_TRUE(PortNo(2)->state.IsEdited());
        EXPECT_EQ(PortNo(2)->vlan, 9);
        EXPECT_EQ(device->sends, autoSend);
    }
}

TEST_F(SwitchPortDialogTest, ReadBackWhileTheDialogIsOpenDoesNotChangeWhatOkWrites)
{
    PortNo(3)->vlan = 12;
    Open(3);
    Run("V k4 k0");
    // The switch came back from lost and is read back: every port normal on VLAN 7.
    exSwitchSettings settings;
    for (int i = 0; i < 8; ++i)
        settings.ports.push_back({i, 1, 0, 7});
    exSwitchRecords::TakeSettings(device, settings);
    EXPECT_EQ(PortNo(3)->vlan, 7) << "the drawing behind follows the switch";
    EXPECT_EQ(dialog->vlanEntry->text, "40");

    Run("OK");
    EXPECT_EQ(PortNo(3)->vlan, 40);
    EXPECT_EQ(PortNo(3)->mode, exSwitchPort::kNormal);
    EXPECT_EQ(device->sends, 1);

    // The same for a loop: port 5 loops with 6, whatever the read-back said meanwhile.
    Open(5);
    Run("M2 P k6 k6"); // the first key only empties the entry
    exSwitchRecords::TakeSettings(device, settings);
    Run("OK");
    EXPECT_EQ(Ports(), "1/0 1/0 1/0* 1/0 2/6* 2/5* 1/0 1/0");
}

// A SwitchKappa that reports another port count rebuilds its ports; a dialog open on one of
// them closes instead of pointing at a deleted port. Anyone can send that identify reply.
TEST_F(SwitchPortDialogTest, DialogClosesWhenTheSwitchRebuildsItsPorts)
{
    auto* kappa = exModelCatalogue::Create(0x0319, &root);
    root.children->Append(kappa);
    MarkReadBack(*kappa);
    dialog = OpenByClick<exSwitchPortDialog>(root, kappa->switchPorts[2]);
    ASSERT_NE(dialog, nullptr);
    Press(dialog->vlanEntry);
    ASSERT_NE(root.focusedControl, nullptr);

    std::vector<uint8_t> identify(44, 0);
    const uint8_t header[] = {0x00, 0x36, 0x93, 0x16, 0x00, 0x01, 0x80, 0x11};
    std::copy(std::begin(header), std::end(header), identify.begin());
    identify[43] = 18; // port count
    kappa->HandleReply(identify.data(), identify.size());
    EXPECT_EQ(kappa->switchPorts.size(), 18u);
    EXPECT_EQ(root.overlay, nullptr);
    EXPECT_EQ(root.focusedControl, nullptr);

    // What the user does next reaches the rebuilt switch, not the old dialog.
    root.OnChar('7');
    PaintToImage(root, 1000, 700);
    // The new ports are not read yet; once the switch's settings have come, they open.
    kappa->switchPorts[17]->OnClick(kappa->switchPorts[17], 0, 0);
    EXPECT_NE(dynamic_cast<exMessageDialog*>(root.overlay), nullptr);
    MarkReadBack(*kappa);
    EXPECT_NE(OpenByClick<exSwitchPortDialog>(root, kappa->switchPorts[17]), nullptr);
}
