// The device settings dialog: rows by panel style, the name limit, the display time-out codes, the
// lock, and what "OK" marks and sends, all driven through the control tree.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "common/appstate.h"
#include "common/controls/canvasbutton.h"
#include "common/controls/canvasswitch.h"
#include "common/controls/canvastextcontrol.h"
#include "common/controls/segmentedcontrol.h"
#include "devices/basenode.h"
#include "devices/canvasuicontrol.h"
#include "dialogs/dialogpress.h"
#include "dialogs/globalsettingsdialog.h"
#include "net/kivnetsocket.h"
#include "support/canvasevents.h"
#include "support/handbytes.h"
#include "support/readback.h"
#include "support/recordingendpoint.h"

using testing::ElementsAreArray;

namespace {

// Every text is 10 pixels a character wide: "Display" is 70.
constexpr int kDisplayLabelWidth = 70;

class GlobalSettingsDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        exAppState::kivnetSocket = &kivnet;
        exAppState::autoSend = 1;
        root.clientWidth = 1000;
        root.clientHeight = 700;
        node = new exBaseNode(&root, 0);
        root.children->Append(node);
        node->network.currentIp = 0x0AC90042;
        node->deviceName = "Stage Left";
        node->displayTimeout = 5;
        MarkReadBack(*node);
    }

    void TearDown() override
    {
        exAppState::kivnetSocket = nullptr;
        exAppState::autoSend = 0;
    }

    // Opens the dialog the way a click on the front-panel display does.
    exGlobalSettingsDialog* Open()
    {
        return OpenByClick<exGlobalSettingsDialog>(root, node->frontPanel);
    }

    // Presses a point of `control` (relative to it) through the overlay, as the panel does, and
    // lets go so that the next press counts again.
    void Press(exCanvasControl* control, int dx = 1, int dy = 1)
    {
        PressAndRelease(root, control, dx, dy);
    }

    void Type(const wxString& text)
    {
        for (wxChar ch : text)
            root.OnChar(ch);
    }

    int S(float design) const { return int(design * exCanvasControl::ScreenDisplayScale()); }

    ScopedTextMeasurer measurer{{}};
    exCanvasControl root{nullptr, 0, 0, 0, 0, wxEmptyString};
    RecordingEndpoint<bxKivnetSocket> kivnet;
    exBaseNode* node = nullptr;
};

} // namespace

TEST_F(GlobalSettingsDialogTest, RowsAndSizeFollowThePanelStyle)
{
    struct Case {
        int style;
        bool display, lock;
        int lockY, okY, heightUnits;
    } cases[] = {
        {0, false, false, 0, 60, 100},
        {1, false, true, 60, 90, 130},
        {2, true, true, 90, 120, 160},
        {3, true, true, 90, 120, 160},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        node->panelStyle = c.style;
        exGlobalSettingsDialog* dialog = Open();
        const float s = dialog->displayScale;
        const int column = S(int(kDisplayLabelWidth / s) + 30);
        EXPECT_EQ(dialog->nameEntry->text, "Stage Left");
        EXPECT_EQ(wxPoint(dialog->nameEntry->x, dialog->nameEntry->y), wxPoint(column, S(30)));
        ASSERT_EQ(dialog->displaySelector != nullptr, c.display);
        ASSERT_EQ(dialog->lockSwitch != nullptr, c.lock);
        if (c.lock) {
            EXPECT_EQ(wxPoint(dialog->lockSwitch->x, dialog->lockSwitch->y),
                      wxPoint(column, S(c.lockY)));
        }
        EXPECT_EQ(wxPoint(dialog->okButton->x, dialog->okButton->y), wxPoint(S(20), S(c.okY)));
        EXPECT_EQ(dialog->height, S(c.heightUnits));
        int widest = S(210);
        if (c.display) {
            widest = std::max(widest, dialog->displaySelector->width);
            EXPECT_EQ(dialog->nameEntry->width, dialog->displaySelector->width)
                << "the name entry is as wide as the selector under it";
        }
        EXPECT_EQ(dialog->width, S(50) + widest + kDisplayLabelWidth);
        EXPECT_EQ(dialog->x, (1000 - dialog->width) / 2);
        EXPECT_EQ(dialog->y, (700 - dialog->height) / 2);
    }
}

TEST_F(GlobalSettingsDialogTest, DisplaySelectorShowsAndWritesTheTimeoutCodes)
{
    struct Shown {
        int code, selection;
    } shown[] = {{1, 0}, {2, 1}, {5, 2}, {0, -1}, {3, -1}};
    for (const Shown& c : shown) {
        node->displayTimeout = c.code;
        EXPECT_EQ(Open()->displaySelector->GetSelection(), c.selection) << c.code;
    }

    node->displayTimeout = 0;
    exGlobalSettingsDialog* dialog = Open();
    exCanvasSegementedControl* selector = dialog->displaySelector;
    const int written[] = {1, 2, 5};
    for (int index = 2; index >= 0; --index) {
        Press(selector, selector->SegmentLeft(index) + 2);
        EXPECT_EQ(selector->GetSelection(), index);
        EXPECT_EQ(dialog->pendingTimeout, written[index]);
    }
}

TEST_F(GlobalSettingsDialogTest, LockSwitchFollowsAndSetsTheLockFlag)
{
    node->locked = true;
    exGlobalSettingsDialog* dialog = Open();
    EXPECT_TRUE(dialog->lockSwitch->on);
    Press(dialog->lockSwitch);
    EXPECT_FALSE(dialog->pendingLocked);
    Press(dialog->lockSwitch);
    EXPECT_TRUE(dialog->pendingLocked);
}

TEST_F(GlobalSettingsDialogTest, NameHoldsAtMostSeventeenTypedCharacters)
{
    node->deviceName = "ABCDEFGHIJKLMNOP"; // 16
    exGlobalSettingsDialog* dialog = Open();
    Type("x");
    EXPECT_EQ(dialog->pendingName, "ABCDEFGHIJKLMNOP")
        << "nothing reaches the entry before a press on it";

    Press(dialog->nameEntry);
    struct Step {
        wxChar key;
        const char* name;
    } steps[] = {
        {'Q', "ABCDEFGHIJKLMNOPQ"},                          // the 17th character still goes in
        {'R', "ABCDEFGHIJKLMNOPQ"},                          // at the limit letters are swallowed
        {' ', "ABCDEFGHIJKLMNOPQ"}, {8, "ABCDEFGHIJKLMNOP"}, // Backspace always works
        {'z', "ABCDEFGHIJKLMNOPz"},
    };
    for (const Step& step : steps) {
        root.OnChar(step.key);
        EXPECT_EQ(dialog->nameEntry->text, step.name) << int(step.key);
        EXPECT_EQ(dialog->pendingName, step.name) << int(step.key);
    }
}

// The wire field holds 17 bytes: the entry stops where the next character would not fit whole,
// and a longer name from the device opens cut as it will be sent.
TEST_F(GlobalSettingsDialogTest, NameLimitCountsTheBytesOnTheWire)
{
    node->deviceName = "";
    exGlobalSettingsDialog* dialog = Open();
    Press(dialog->nameEntry);
    for (int i = 0; i < 20; ++i)
        root.OnChar(wxChar(0xFC));
    EXPECT_EQ(dialog->pendingName.length(), 8u) << "eight two-byte characters fill 16 bytes";
    root.OnChar('x');            // the 17th byte
    root.OnChar(wxChar(0x20AC)); // three bytes: no room
    EXPECT_EQ(dialog->pendingName.utf8_str().length(), 17u);
    EXPECT_EQ(dialog->pendingName.Last(), 'x');
    root.OnChar(8);
    root.OnChar(8);
    root.OnChar(wxChar(0x1F600)); // four bytes fill 14 + 4 = 18: refused
    EXPECT_EQ(dialog->pendingName.utf8_str().length(), 14u);
    root.OnChar(wxChar(0x20AC)); // three bytes fill 17
    EXPECT_EQ(dialog->pendingName.utf8_str().length(), 17u);

    // A switch reports a name of up to 18 bytes.
    PressAndRelease(root, dialog->okButton, 2, 2);
    node->deviceName = wxString::FromUTF8("Truss \xC3\xBC\xC3\xBC left side"); // 20 bytes
    dialog = Open();
    EXPECT_EQ(dialog->pendingName, wxString::FromUTF8("Truss \xC3\xBC\xC3\xBC left s"));
    EXPECT_EQ(dialog->nameEntry->text, dialog->pendingName);
}

TEST_F(GlobalSettingsDialogTest, OkMarksTheDeviceAndSendsItsSettingsWhenAutoUpdateIsOn)
{
    node->panelStyle = exCanvasUIControl::kLargeDisplay;
    exGlobalSettingsDialog* dialog = Open();
    Press(dialog->nameEntry);
    Type("\b\b\b\bRight");
    Press(dialog->displaySelector, dialog->displaySelector->SegmentLeft(1) + 2);
    Press(dialog->lockSwitch);
    Press(dialog->okButton);

    EXPECT_EQ(root.overlay, nullptr);
    EXPECT_EQ(root.retiredOverlay, dialog);
    EXPECT_EQ(root.focusedControl, nullptr);
    EXPECT_FALSE(dialog->nameEntry->hasFocus);
    EXPECT_TRUE(node->modified);
    EXPECT_FALSE(node->frontPanel->state.IsEdited()) << "sending clears the display's mark";

    std::vector<uint8_t> expected = Kivnet(0x0020, 222);
    PutText(expected, 8, "Stage Right"); // name, zero-padded to 17
    expected[34] = 2;                    // locked + 1
    expected[35] = 2;                    // display 5 seconds
    ASSERT_EQ(kivnet.sent.size(), 1u);
    EXPECT_EQ(kivnet.sent[0].Address(), "10.201.0.66");
    EXPECT_THAT(kivnet.sent[0].bytes, ElementsAreArray(expected));
}

TEST_F(GlobalSettingsDialogTest, OkWithAutoUpdateOffOnlyMarks)
{
    exAppState::autoSend = 0;
    exGlobalSettingsDialog* dialog = Open();
    Press(dialog->lockSwitch);
    Press(dialog->okButton);
    EXPECT_TRUE(kivnet.sent.empty());
    EXPECT_TRUE(node->modified);
    EXPECT_TRUE(node->frontPanel->state.IsEdited());
    EXPECT_TRUE(node->locked);
}

TEST_F(GlobalSettingsDialogTest, LockLabelKeepsItsRowWithoutTheDisplayLabel)
{
    // Whether a white label is drawn in the label column at a design row.
    auto labelAt = [&](const wxImage& image, int designY) {
        const int top = S(designY - 2);
        // Short of the frame's white bottom edge.
        const int bottom = std::min(top + S(12), image.GetHeight() - 4);
        for (int y = top; y < bottom; ++y)
            for (int x = S(20); x < S(60); ++x)
                if (image.GetRed(x, y) > 200 && image.GetGreen(x, y) > 200 &&
                    image.GetBlue(x, y) > 200)
                    return true;
        return false;
    };
    struct Case {
        int style, code;
        bool row60, row90;
    } cases[] = {
        {2, 5, true, true},  // "Display" at 65, "Lock" at 95
        {2, 0, false, true}, // no "Display", "Lock" still at 95
        {1, 5, true, false}, // "Lock" moves up to 65
        {0, 5, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.style << "/" << c.code);
        node->panelStyle = c.style;
        node->displayTimeout = c.code;
        exGlobalSettingsDialog dialog(&root, node);
        const wxImage image = PaintToImage(dialog, dialog.width, dialog.height);
        EXPECT_TRUE(labelAt(image, 35)) << "Name";
        EXPECT_EQ(labelAt(image, 65), c.row60);
        EXPECT_EQ(labelAt(image, 95), c.row90);
    }
}

TEST_F(GlobalSettingsDialogTest, ReadBackRepliesWhileTheDialogIsOpenDoNotChangeWhatOkSends)
{
    node->panelStyle = exCanvasUIControl::kLargeDisplay;
    node->locked = false;
    exGlobalSettingsDialog* dialog = Open();
    Press(dialog->nameEntry);
    Type("\b\b\b\bRight");
    Press(dialog->displaySelector, dialog->displaySelector->SegmentLeft(0) + 2);
    Press(dialog->lockSwitch);

    // The device came back from lost and is read back: unlocked, display 5 seconds.
    std::vector<uint8_t> reply = Kivnet(0x8021, 222);
    reply[34] = 1; // unlocked
    reply[35] = 2; // 5 seconds
    node->HandleReply(reply.data(), reply.size());
    EXPECT_FALSE(node->locked) << "the drawing behind follows the device";
    EXPECT_EQ(node->displayTimeout, 2);
    EXPECT_TRUE(dialog->lockSwitch->on);

    Press(dialog->okButton);
    std::vector<uint8_t> expected = Kivnet(0x0020, 222);
    PutText(expected, 8, "Stage Right"); // name, zero-padded to 17
    expected[34] = 2;                    // locked + 1
    expected[35] = 1;                    // display always on
    ASSERT_EQ(kivnet.sent.size(), 1u);
    EXPECT_THAT(kivnet.sent[0].bytes, ElementsAreArray(expected));
}
