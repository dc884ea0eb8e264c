// The DMX port dialog through its control tree: the universe rules of each protocol for the
// on-screen keys and for typed characters, the protocol and mode selectors, the titles, and what
// "OK" marks and sends.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/appstate.h"
#include "common/controls/canvasbutton.h"
#include "common/controls/canvastextcontrol.h"
#include "common/controls/hexkeyboard.h"
#include "common/controls/segmentedcontrol.h"
#include "devices/basenode.h"
#include "devices/dmxport.h"
#include "dialogs/dialogpress.h"
#include "dialogs/dmxportdialog.h"
#include "dialogs/messagedialog.h"
#include "net/kivnetsocket.h"
#include "support/handbytes.h"
#include "support/readback.h"
#include "support/recordingendpoint.h"

using testing::ElementsAre;
using testing::ElementsAreArray;

namespace {

constexpr int kArtNet = 0, kSacn = 1, kShownet = 2, kNotSet = -1;

class DMXPortDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        root.clientWidth = 1000;
        root.clientHeight = 800;
        exAppState::kivnetSocket = &kivnet;
        savedAutoSend = exAppState::autoSend;
        exAppState::autoSend = 1;
        device = new exBaseNode(&root, 4);
        root.children->Append(device);
        device->network.currentIp = 0x0AC90042;
        MarkReadBack(*device);
    }

    void TearDown() override
    {
        exAppState::kivnetSocket = nullptr;
        exAppState::autoSend = savedAutoSend;
    }

    // Clicks the port as the rack does and paints once, as the panel does before any press.
    exDMXPortDialog* Open(exDMXPort* port)
    {
        root.focusedControl = nullptr;
        port->OnClick(port, 0, 0);
        auto* dialog = dynamic_cast<exDMXPortDialog*>(root.overlay);
        if (dialog)
            PaintToImage(*dialog, 1000, 800);
        return dialog;
    }

    exDMXPortDialog* OpenWith(int protocol, int universe, int mode = exDMXPort::kOutput)
    {
        exDMXPort* port = device->dmxPorts[0];
        port->protocol = protocol;
        port->universe = universe;
        port->mode = mode;
        return Open(port);
    }

    void PressKey(exDMXPortDialog* dialog, int key)
    {
        PressMiddle(root, dialog->keyboard->keys[key]);
    }

    static void PressSegment(exCanvasControl& root, exCanvasSegementedControl* selector, int index)
    {
        PressOverlayControl(root, selector,
                            selector->segmentWidth * index + selector->segmentWidth / 2,
                            selector->height / 2);
    }

    // Gives the universe entry the keyboard focus with a press, then types.
    void Type(exDMXPortDialog* dialog, const std::string& characters)
    {
        if (root.focusedControl != dialog->universeEntry)
            PressMiddle(root, dialog->universeEntry);
        for (char c : characters)
            root.OnChar(wxChar(c));
    }

    exCanvasControl root{nullptr, 0, 0, 0, 0, wxEmptyString};
    exBaseNode* device = nullptr;
    RecordingEndpoint<bxKivnetSocket> kivnet;
    uint8_t savedAutoSend = 0;
};

} // namespace

TEST_F(DMXPortDialogTest, OnScreenKeysFollowTheUniverseRuleOfEachProtocol)
{
    struct Step {
        int key;
        const char* text;
        int universe;
    };
    struct Case {
        const char* name;
        int protocol, universe;
        const char* opening;
        std::vector<Step> steps;
    } cases[] = {
        {"Art-Net: the first key replaces, the third starts over",
         kArtNet,
         0x15,
         "1-5",
         {{7, "7", 0x7}, {0xC, "7-C", 0x7C}, {3, "3", 0x3}, {0xF, "3-F", 0x3F}}},
        {"sACN: 64000 is refused at its last 0",
         kSacn,
         300,
         "300",
         {{6, "6", 6}, {4, "64", 64}, {0, "640", 640}, {0, "6400", 6400}, {0, "6400", 6400}}},
        {"sACN: a digit past 63999 starts over",
         kSacn,
         300,
         "300",
         {{6, "6", 6}, {4, "64", 64}, {0, "640", 640}, {0, "6400", 6400}, {5, "5", 5}}},
        {"sACN: a refused first key brings the opening back, the next one extends it",
         kSacn,
         300,
         "300",
         {{0, "300", 300}, {7, "3007", 3007}}},
        {"sACN: letters are refused", kSacn, 12, "12", {{0xA, "12", 12}, {1, "121", 121}}},
        {"Shownet: past 127 the entry empties to 0",
         kShownet,
         40,
         "40",
         {{1, "1", 1}, {2, "12", 12}, {8, "", 0}, {9, "9", 9}}},
        {"Shownet: letters are refused", kShownet, 40, "40", {{0xB, "40", 40}}},
        {"no protocol: the first key clears, later keys do nothing",
         kNotSet,
         kNotSet,
         "",
         {{5, "", 0}, {7, "", 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exDMXPortDialog* dialog = OpenWith(c.protocol, c.universe);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->universeEntry->text, c.opening);
        for (const Step& step : c.steps) {
            PressKey(dialog, step.key);
            EXPECT_EQ(dialog->universeEntry->text, step.text) << "key " << step.key;
            EXPECT_EQ(dialog->pendingUniverse, step.universe) << "key " << step.key;
            EXPECT_EQ(dialog->keyboard->lastKey, -1);
        }
    }
}

TEST_F(DMXPortDialogTest, TypedCharactersExtendTheUniverseWithoutTheFirstKeyClearing)
{
    struct Case {
        const char* name;
        int protocol, universe;
        std::string typed;
        const char* text;
        int expected;
    } cases[] = {
        {"Art-Net lower case is refused", kArtNet, 0x15, "a", "1-5", 0x15},
        {"Art-Net upper case starts over, then completes", kArtNet, 0x15, "A3", "A-3", 0xA3},
        {"Art-Net backspace and other keys are refused", kArtNet, 0x7C, "\b-g ", "7-C", 0x7C},
        {"sACN extends the opening value", kSacn, 300, "5", "3005", 3005},
        {"sACN past 63999 starts over with the digit", kSacn, 6400, "5", "5", 5},
        {"sACN a 0 past 63999 is refused", kSacn, 6400, "0", "6400", 6400},
        {"Shownet past 127", kShownet, 12, "8", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exDMXPortDialog* dialog = OpenWith(c.protocol, c.universe);
        Type(dialog, c.typed);
        EXPECT_EQ(dialog->universeEntry->text, c.text);
        EXPECT_EQ(dialog->pendingUniverse, c.expected);
        EXPECT_TRUE(dialog->firstKeyClears) << "typing leaves the on-screen rule alone";
    }

    exDMXPortDialog* dialog = OpenWith(kSacn, 300);
    EXPECT_EQ(dialog->FilterChar('5'), -1) << "not its entry's character while unfocused";
    EXPECT_EQ(dialog->universeEntry->text, "300");
}

TEST_F(DMXPortDialogTest, ChangingTheProtocolBringsTheUniverseIntoItsRange)
{
    struct Case {
        int from, universe, to;
        const char* text;
        int expected;
    } cases[] = {
        {kSacn, 300, kArtNet, "0", 0},
        {kArtNet, 0, kSacn, "1", 1},
        {kArtNet, 0x7C, kSacn, "124", 124},
        {kSacn, 5, kArtNet, "5", 5},
        {kSacn, 200, kArtNet, "C-8", 200},
        {kSacn, 300, kShownet, "1", 1},
        {kArtNet, 0x15, kShownet, "21", 21},
        {kShownet, 127, kSacn, "127", 127},
        // Shownet universes start at 1 on the wire; 0 would be sent as "not set".
        {kArtNet, 0, kShownet, "1", 1},
        {kNotSet, kNotSet, kArtNet, "0", 0},
        {kNotSet, kNotSet, kSacn, "1", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " " << c.universe << " -> " << c.to);
        exDMXPortDialog* dialog = OpenWith(c.from, c.universe);
        PressSegment(root, dialog->protocolSelector, c.to);
        EXPECT_EQ(dialog->pendingProtocol, c.to);
        EXPECT_EQ(dialog->universeEntry->text, c.text);
        EXPECT_EQ(dialog->pendingUniverse, c.expected);
    }

    // A single Art-Net digit after a switch takes a second one.
    exDMXPortDialog* dialog = OpenWith(kSacn, 5);
    PressSegment(root, dialog->protocolSelector, kArtNet);
    Type(dialog, "C");
    EXPECT_EQ(dialog->universeEntry->text, "5-C");
    EXPECT_EQ(dialog->pendingUniverse, 0x5C);
}

TEST_F(DMXPortDialogTest, OptionFlagPortsAreNotOfferedOutput)
{
    for (bool option : {false, true}) {
        SCOPED_TRACE(option ? "option flag" : "plain port");
        exDMXPort* port = device->dmxPorts[1];
        port->optionFlag = option;
        port->mode = exDMXPort::kDisabled;
        exDMXPortDialog* dialog = Open(port);
        exCanvasSegementedControl* modes = dialog->modeSelector;
        ASSERT_EQ(modes->itemCount, option ? 2 : 3);
        for (exCanvasControl* child : *dialog->children)
            EXPECT_LE(child->x + child->width, dialog->width) << "inside the frame";
        EXPECT_EQ(modes->items.Last(), option ? "Input" : "Output");
        // A press at the right edge lands on the last offered mode.
        PressOverlayControl(root, modes, modes->width, modes->height / 2);
        EXPECT_EQ(dialog->pendingMode, option ? exDMXPort::kInput : exDMXPort::kOutput);
        PressSegment(root, modes, 0);
        EXPECT_EQ(dialog->pendingMode, exDMXPort::kDisabled);
    }
}

TEST_F(DMXPortDialogTest, TitlesNameThePortAndTheModuleBay)
{
    exBaseNode* host = new exBaseNode(&root, 0);
    root.children->Append(host);
    struct Case {
        bool hosted;
        int portNumber;
        const char* title;
    } cases[] = {
        {false, 3, "Set Universe for Port 4"},
        {false, 15, "Set Universe for Port 16"},
        {true, 0x12, "Set Universe for Port A-3"},
        {true, 0x20, "Set Universe for Port B-1"},
        // The last port of a bay is 16, as the port itself is labelled.
        {true, 0x1F, "Set Universe for Port A-16"},
        {true, 0x02, "Set Universe for Port 3"},
    };
    for (const Case& c : cases) {
        device->host = c.hosted ? host : nullptr;
        device->dmxPorts[2]->portNumber = c.portNumber;
        exDMXPortDialog* dialog = Open(device->dmxPorts[2]);
        EXPECT_EQ(dialog->GetTitle(), c.title);
    }
    device->host = nullptr;
}

TEST_F(DMXPortDialogTest, OkMarksThePortAndDevicesAndProgramsThePortThroughTheHost)
{
    exBaseNode* host = new exBaseNode(&root, 0);
    root.children->Append(host);
    host->network.currentIp = 0x0AC90001;
    device->host = host;
    device->SetFirstPortNumber(16);
    exDMXPort* port = device->dmxPorts[2];
    port->portValue = 0x0A0B0C0D;
    port->protocol = kArtNet;
    port->universe = 0x15;
    port->mode = exDMXPort::kInput;

    exDMXPortDialog* dialog = Open(port);
    PressSegment(root, dialog->modeSelector, exDMXPort::kOutput);
    PressKey(dialog, 7);
    PressKey(dialog, 0xC);
    testing::internal::CaptureStdout();
    PressMiddle(root, dialog->okButton);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Program Port 12\nFill Output\n");

    EXPECT_EQ(root.overlay, nullptr);
    EXPECT_EQ(root.retiredOverlay, dialog);
    EXPECT_TRUE(device->modified);
    EXPECT_TRUE(host->modified);
    EXPECT_FALSE(port->state.IsEdited()) << "cleared again once sent";
    ASSERT_EQ(kivnet.sent.size(), 1u);
    EXPECT_EQ(kivnet.sent[0].Address(), "10.201.0.1");
    std::vector<uint8_t> expected = Kivnet(0x0030, 164);
    Put(expected, 8, {0x12, 2, 1, 2}); // wire port, output, active, 164-byte form
    Put(expected, 12, {0x02, 0x7C});   // Art-Net 0x7C
    Put(expected, 160, {0x0A, 0x0B, 0x0C, 0x0D});
    EXPECT_THAT(kivnet.sent[0].bytes, ElementsAreArray(expected));
}

TEST_F(DMXPortDialogTest, OkWithImmediateSendingOffOnlyMarks)
{
    exAppState::autoSend = 0;
    exDMXPortDialog* dialog = OpenWith(kShownet, 40, exDMXPort::kInput);
    for (int key : {1, 2, 8})
        PressKey(dialog, key);
    PressMiddle(root, dialog->okButton);
    exDMXPort* port = device->dmxPorts[0];
    EXPECT_TRUE(port->state.IsEdited());
    EXPECT_TRUE(device->modified);
    EXPECT_TRUE(kivnet.sent.empty());
    EXPECT_EQ(port->universe, 1) << "an emptied Shownet entry is kept as the first universe";

    testing::internal::CaptureStdout();
    device->ProgramAll();
    testing::internal::GetCapturedStdout();
    std::vector<uint8_t> programming;
    for (const auto& sent : kivnet.sent)
        if (sent.bytes.size() > 8 && sent.bytes[7] == 0x30 && sent.bytes[8] == 0)
            programming = sent.bytes;
    std::vector<uint8_t> expected = Kivnet(0x0030, 22);
    Put(expected, 8, {0, 1, 1, 1});  // wire port 0, input, active, 22-byte form
    Put(expected, 12, {0x01, 0x00}); // Shownet 1
    Put(expected, 14, {100});        // input mark
    EXPECT_THAT(programming, ElementsAreArray(expected));
}

TEST_F(DMXPortDialogTest, ReadBackRepliesWhileTheDialogIsOpenDoNotChangeWhatOkSends)
{
    exDMXPortDialog* dialog = OpenWith(kArtNet, 0x15, exDMXPort::kOutput);
    PressSegment(root, dialog->protocolSelector, kSacn);
    for (int key : {6, 4})
        PressKey(dialog, key);
    PressSegment(root, dialog->modeSelector, exDMXPort::kInput);

    // The device came back from lost and is read back: its port 1 is an Art-Net 0x22 output.
    std::vector<uint8_t> reply = Kivnet(0x8031, 164);
    Put(reply, 8, {0x00, 2});     // wire port 0, output
    Put(reply, 12, {0x02, 0x22}); // Art-Net 0x22
    device->HandleReply(reply.data(), reply.size());
    exDMXPort* port = device->dmxPorts[0];
    EXPECT_EQ(port->universe, 0x22) << "the drawing behind follows the device";
    EXPECT_EQ(dialog->universeEntry->text, "64");

    testing::internal::CaptureStdout();
    PressMiddle(root, dialog->okButton);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(kivnet.sent.size(), 1u);
    std::vector<uint8_t> expected = Kivnet(0x0030, 22);
    Put(expected, 8, {0x00, 1, 1, 1}); // wire port 0, input, active, 22-byte form
    Put(expected, 12, {0x03, 0x40});   // sACN 64
    Put(expected, 14, {0x64});
    EXPECT_THAT(kivnet.sent[0].bytes, ElementsAreArray(expected));
    EXPECT_EQ(port->mode, exDMXPort::kInput);
    EXPECT_EQ(port->universe, 64);
}

TEST_F(DMXPortDialogTest, APortNotReadYetSaysSoInsteadOfOpeningAndOpensOnceRead)
{
    exDMXPort* port = device->dmxPorts[3];
    port->state.Forget();
    root.focusedControl = nullptr;
    port->OnClick(port, 0, 0);
    auto* message = dynamic_cast<exMessageDialog*>(root.overlay);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->title, "Not read yet");
    EXPECT_THAT(std::string(message->lines[0].utf8_str()), testing::HasSubstr("DMX port 4"));

    std::vector<uint8_t> reply = Kivnet(0x8031, 164); // its port settings reply comes
    reply[8] = 3;                                     // wire port 3
    reply[9] = 2;                                     // output
    device->HandleReply(reply.data(), reply.size());
    EXPECT_NE(Open(port), nullptr);
}
