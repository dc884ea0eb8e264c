// Find and the attention keys on a rack of plain devices: what matches, where the view goes, the
// outline and the entry as they are drawn, keys pressed as the main window hands them over.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/graphics.h>
#include <wx/statusbr.h>

#include "common/appstate.h"
#include "common/controlpanel.h"
#include "common/controls/canvascolours.h"
#include "common/controls/findentry.h"
#include "common/mainframe.h"
#include "common/overlay.h"
#include "common/rack/findbar.h"
#include "common/rackpanel.h"
#include "common/rackroot.h"
#include "devices/basenode.h"
#include "devices/dmxport.h"
#include "discovery/localadapters.h"
#include "net/ipv4.h"
#include "support/canvasevents.h"
#include "support/testudp.h"

namespace {

constexpr uint32_t kLocal = 0x0ACA0000; // 10.202.0.0/16, this computer's subnet

class RackFindTest : public testing::Test {
protected:
    void SetUp() override
    {
        exLocalAdapters::Instance().Build({{kLocal | 1, 0xFFFF0000}});
        frame = new wxFrame(nullptr, wxID_ANY, "rack");
        rack = new exRackPanel(frame, "Rack");
        rack->timer->Stop();
        rack->showNotice = [this](const wxString& text) { notices.push_back(text); };
        frame->SetClientSize(1040, 600);
        frame->Show();
        PumpEventsFor(50);
    }
    void TearDown() override
    {
        frame->Destroy();
        PumpEventsFor(20);
        exLocalAdapters::Instance().Build({});
    }

    exBaseNode* Add(const wxString& name, uint32_t ip = kLocal | 0x100, exBaseNode* host = nullptr)
    {
        auto* device = new exBaseNode(rack->root, 1);
        device->deviceName = name;
        device->title = "Pylon NodeBeta";
        device->network.currentIp = ip;
        device->network.ipText = FormatIpAddress(ip);
        device->host = host;
        device->OnAlive();
        rack->root->children->Append(device);
        return device;
    }
    // Devices "Unit 0", "Unit 1", ..., laid out.
    std::vector<exBaseNode*> AddUnits(int count = 20)
    {
        std::vector<exBaseNode*> devices;
        for (int i = 0; i < count; ++i)
            devices.push_back(Add(wxString::Format("Unit %d", i), kLocal | uint32_t(0x100 + i)));
        rack->Relayout();
        PumpEventsFor(20); // the scroll bar that came settles the client size
        return devices;
    }

    // A key as the main window's key hook hands it over; one the rack leaves alone comes back
    // as a character, as the toolkit then sends it to the focused rack.
    void Press(int code, int modifiers = wxMOD_NONE, wxChar character = 0)
    {
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = code;
        key.m_controlDown = (modifiers & wxMOD_CONTROL) != 0;
        key.m_shiftDown = (modifiers & wxMOD_SHIFT) != 0;
        rack->OnWindowKey(key);
        if (!key.GetSkipped())
            return;
        key.SetEventType(wxEVT_CHAR);
        key.m_uniChar = character ? character : wxChar(code);
        rack->OnCharEvent(key);
    }
    void Type(const wxString& text)
    {
        for (wxChar character : text)
            Press(character < 128 ? int(character) : WXK_NONE, wxMOD_NONE, character);
    }

    exBaseNode* Outlined() const
    {
        auto* root = static_cast<exRackRoot*>(rack->root);
        return root->outlined ? root->JumpTarget() : nullptr;
    }
    wxString Count() const { return rack->findBar->entry->CountText(); }
    // The window row where a canvas row is painted now.
    double Row(double canvasRow) const
    {
        return rack->GetOrigin().y +
               (canvasRow - rack->GetScrollPos(wxVERTICAL)) * rack->canvasScale;
    }
    // The device and its outline (from its host's top for a module), below the find bar.
    bool FullyInView(const exBaseNode* device) const
    {
        const int reach = exRackRoot::kOutlineReach;
        const double top = device->host ? device->host->y : device->y;
        return Row(top - reach) >= (rack->FindIsOpen() ? rack->findBar->height : 0) &&
               Row(device->y + device->height + reach) <= rack->GetClientSize().y;
    }
    wxImage Paint() const
    {
        wxBitmap bitmap(rack->GetClientSize(), 24);
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(wxBrush(exCanvasColours::kDarkGrey));
            dc.Clear();
            std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
            rack->PaintCanvas(*gc);
        }
        return bitmap.ConvertToImage();
    }
    static wxColour At(const wxImage& image, double x, double y)
    {
        return wxColour(image.GetRed(int(x), int(y)), image.GetGreen(int(x), int(y)),
                        image.GetBlue(int(x), int(y)));
    }
    // The outline's left side, halfway down the device.
    wxColour OutlineSide(const wxImage& image, const exBaseNode* device) const
    {
        return At(image, rack->GetOrigin().x + (device->x - 6) * rack->canvasScale,
                  Row(device->y + device->height / 2));
    }
    // A point of the entry right of its text.
    wxColour EntryFill(const wxImage& image) const
    {
        const exFindEntry& entry = *rack->findBar->entry;
        return At(image, entry.x + entry.width * 2 / 3, entry.y + 2);
    }

    wxFrame* frame;
    exRackPanel* rack;
    std::vector<wxString> notices;
};

} // namespace

TEST_F(RackFindTest, MatchesNameModelAddressIdAndUnitIgnoringCaseAndModulesOnTheirOwnName)
{
    exBaseNode* stage = Add("Stage Left", 0x0ACA0111);
    stage->deviceId = 42;
    stage->network.unitNumber = 7;
    exBaseNode* foh = Add("FOH Rack", 0x0ACA0305);
    foh->title = "Pylon SwitchKappa 18";
    foh->network.unitNumber = 12;
    exBaseNode* dimmers = Add("Dimmers", 0xC0A80114);
    dimmers->deviceId = 1234;
    dimmers->network.unitNumber = 300;
    exBaseNode* bay = Add(wxString::FromUTF8("B\xC3\x84Y Two"), 0, foh);
    bay->title = "Pylon NodeZeta";
    rack->Relayout();
    const struct {
        const char* text;
        std::vector<exBaseNode*> matches;
        const char* count;
    } cases[] = {
        {"stage", {stage}, "1 of 1"},
        {"STAGE lEFT", {stage}, "1 of 1"},
        {"kappa", {foh}, "1 of 1"},
        {"10.202.3", {foh}, "1 of 1"},
        {"192.168.1.20", {dimmers}, "1 of 1"},
        {"1234", {dimmers}, "1 of 1"},
        {"42", {stage}, "1 of 1"},
        {"300", {dimmers}, "1 of 1"},
        {"b\xC3\xA4y two", {bay}, "1 of 1"},
        {"nodezeta", {bay}, "1 of 1"},
        // Not the module too: it is matched on its own name, never its host's.
        {"foh", {foh}, "1 of 1"},
        {"e", {stage, dimmers, bay}, "1 of 3"},
        {"xyz", {}, "no match"},
        {"", {}, ""},
    };
    for (const auto& c : cases) {
        Press('F', wxMOD_CONTROL);
        Type(wxString::FromUTF8(c.text));
        EXPECT_EQ(static_cast<exRackRoot*>(rack->root)->finder.Matches(), c.matches) << c.text;
        EXPECT_EQ(Count(), c.count) << c.text;
        EXPECT_EQ(Outlined(), c.matches.empty() ? nullptr : c.matches[0]) << c.text;
        Press(WXK_ESCAPE);
    }
}

TEST_F(RackFindTest, TheMatchComesIntoViewOutlinedBelowTheEntryAndStepsWrapBothWays)
{
    std::vector<exBaseNode*> units = AddUnits();
    for (int i : {3, 11, 18})
        units[size_t(i)]->deviceName = wxString::Format("Spare %d", i);
    Press('/');
    Type("spare");
    EXPECT_EQ(rack->findBar->entry->text, "spare") << "the \"/\" that opened it is not typed";
    const struct {
        int code, modifiers, expected;
        const char* count;
    } steps[] = {
        {WXK_NONE, 0, 3, "1 of 3"},
        {WXK_RETURN, 0, 11, "2 of 3"},
        {WXK_F3, 0, 18, "3 of 3"},
        {WXK_RETURN, 0, 3, "1 of 3"},
        {WXK_RETURN, wxMOD_SHIFT, 18, "3 of 3"},
        {WXK_F3, wxMOD_SHIFT, 11, "2 of 3"},
    };
    for (const auto& step : steps) {
        if (step.code != WXK_NONE)
            Press(step.code, step.modifiers);
        const exBaseNode* expected = units[size_t(step.expected)];
        EXPECT_EQ(Outlined(), expected) << step.expected;
        EXPECT_EQ(Count(), step.count);
        EXPECT_TRUE(FullyInView(expected)) << step.expected;
        const wxImage image = Paint();
        EXPECT_EQ(OutlineSide(image, expected), exCanvasColours::kJumpOutline);
        EXPECT_EQ(EntryFill(image), exCanvasColours::kLightGrey);
        EXPECT_EQ(At(image, 5, 5), *wxBLACK) << "the bar over the rack's top edge";
    }
    // No match: the invalid fill, no outline, the view stays.
    const int position = rack->GetScrollPos(wxVERTICAL);
    Type("x");
    EXPECT_EQ(Count(), "no match");
    EXPECT_EQ(Outlined(), nullptr);
    EXPECT_EQ(rack->GetScrollPos(wxVERTICAL), position);
    EXPECT_EQ(EntryFill(Paint()), exCanvasColours::kIpInvalidFill);
    Press(WXK_BACK);
    EXPECT_EQ(Count(), "1 of 3");
}

TEST_F(RackFindTest, EscapeLeavesTheViewWhereItIsAndTheRackDrawnAsWithoutFind)
{
    std::vector<exBaseNode*> units = AddUnits();
    rack->Scroll(0, 1000);
    PumpEventsFor(50);
    const wxImage before = Paint();
    Press('F', wxMOD_CONTROL);
    EXPECT_EQ(rack->GetScrollPos(wxVERTICAL),
              1000 + std::lround(rack->findBar->height / rack->canvasScale))
        << "opening the entry moves nothing on the screen";
    Type("unit 1");
    Press(WXK_RETURN);
    ASSERT_EQ(Outlined(), units[10]);
    const double shownAt = Row(units[10]->y);
    Press(WXK_ESCAPE);
    PumpEventsFor(50);
    EXPECT_FALSE(rack->FindIsOpen());
    EXPECT_EQ(Outlined(), nullptr);
    EXPECT_NEAR(Row(units[10]->y), shownAt, 1.0);
    rack->Scroll(0, 1000);
    PumpEventsFor(50);
    const wxImage after = Paint();
    ASSERT_EQ(after.GetSize(), before.GetSize());
    const size_t bytes = size_t(after.GetWidth()) * size_t(after.GetHeight()) * 3;
    EXPECT_EQ(std::memcmp(after.GetData(), before.GetData(), bytes), 0);
}

TEST_F(RackFindTest, MatchesFollowDevicesThatComeAreRenamedOrReaddressedAndARackEmptied)
{
    std::vector<exBaseNode*> units = AddUnits(6);
    Press('F', wxMOD_CONTROL);
    Type("unit 1");
    Press(WXK_RETURN);
    ASSERT_EQ(Outlined(), units[1]);
    // Found while the entry is open: the relayout takes the view to the top, the current
    // match is brought back.
    exBaseNode* late = Add("Unit 12");
    rack->Relayout();
    EXPECT_EQ(Count(), "1 of 2");
    EXPECT_TRUE(FullyInView(units[1]));
    // Renamed away: the next match in rack order takes over at the next tick.
    units[1]->deviceName = "Truss";
    rack->Advance(exRackPanel::kTickMs);
    EXPECT_EQ(Count(), "1 of 1");
    EXPECT_EQ(Outlined(), late);
    EXPECT_TRUE(FullyInView(late));
    // Readdressed into the text while it is looked for.
    Press(WXK_ESCAPE);
    Press('F', wxMOD_CONTROL);
    Type("10.1.1");
    EXPECT_EQ(Count(), "no match");
    units[4]->network.ipText = "10.1.1.1";
    rack->Advance(exRackPanel::kTickMs);
    EXPECT_EQ(Count(), "1 of 1");
    EXPECT_EQ(Outlined(), units[4]);
    rack->Clear();
    EXPECT_EQ(Count(), "no match");
    Press(WXK_RETURN);
    EXPECT_EQ(Outlined(), nullptr);
}

TEST_F(RackFindTest, AModuleFarDownComesIntoViewWithItsHost)
{
    AddUnits(15);
    exBaseNode* host = Add("Kappa");
    for (const char* name : {"Bay One", "Bay Two", "Bay Three"})
        Add(name, 0, host)->height = 67;
    AddUnits(5);
    Press('F', wxMOD_CONTROL);
    Type("bay three");
    ASSERT_NE(Outlined(), nullptr);
    EXPECT_EQ(Outlined()->deviceName, "Bay Three");
    EXPECT_TRUE(FullyInView(Outlined()));
}

TEST_F(RackFindTest, AnyTypedTextIsSafe)
{
    exBaseNode* lamp = Add(wxString::FromUTF8("Lamp \xF0\x9F\x98\x80"));
    rack->Relayout();
    Press('F', wxMOD_CONTROL);
    // Control characters (C0, Tab, DEL, C1) are dropped; one beyond the Basic Multilingual
    // Plane is one character.
    for (wxChar control : {1, 9, 27, 0x7F, 0x85})
        Press(WXK_NONE, wxMOD_NONE, control);
    Type(wxString::FromUTF8("\xF0\x9F\x98\x80"));
    EXPECT_EQ(rack->findBar->entry->text.length(), 1u);
    EXPECT_EQ(Outlined(), lamp);
    Paint();
    Press(WXK_ESCAPE);
    {
        ScopedTextMeasurer tenPixelsEach({});
        Press('F', wxMOD_CONTROL);
        Type(wxString('w', 100));
        const exFindEntry& entry = *rack->findBar->entry;
        const int room = entry.width - 6 - int(exFindEntry::kCountRoom * entry.displayScale);
        EXPECT_EQ(int(entry.text.length()), room / 10) << "what fits beside the count";
        Press(WXK_ESCAPE);
    }
    ScopedTextMeasurer putBack({});
    SetTextMeasurer([](const wxFont&, const wxString&) { return exTextExtent{}; });
    Press('F', wxMOD_CONTROL);
    Type(wxString(wxChar(0x200B), 500));
    EXPECT_EQ(rack->findBar->entry->text.length(), exFindEntry::kMaxLength)
        << "characters of no width end somewhere too";
}

TEST_F(RackFindTest, F8VisitsLostUnreachableAndUnsentDevicesInRackOrderOrSaysNoneNeedsIt)
{
    std::vector<exBaseNode*> units = AddUnits();
    units[4]->connectionState = exBaseNode::kLost;
    units[9]->network.currentIp = 0xC0A84D0A; // 192.168.77.10, outside the local subnet
    units[13]->modified = true;               // changed and sent at once: nothing red
    units[15]->modified = true;               // a port changed, not yet sent
    units[15]->dmxPorts[0]->state.Edit();
    units[17]->connectionState = exBaseNode::kLost;
    units[17]->hidden = true;
    rack->Relayout();
    const struct {
        int modifiers, expected;
    } presses[] = {{0, 4}, {0, 9}, {0, 15}, {0, 4}, {wxMOD_SHIFT, 15}, {wxMOD_SHIFT, 9}};
    for (const auto& press : presses) {
        Press(WXK_F8, press.modifiers);
        EXPECT_EQ(Outlined(), units[size_t(press.expected)]) << press.expected;
        EXPECT_TRUE(FullyInView(units[size_t(press.expected)])) << press.expected;
    }
    Press(WXK_ESCAPE);
    EXPECT_EQ(Outlined(), nullptr);
    EXPECT_TRUE(notices.empty());

    units[4]->OnAlive();
    units[9]->network.currentIp = kLocal | 9;
    units[15]->dmxPorts[0]->state.Sent();
    const int position = rack->GetScrollPos(wxVERTICAL);
    Press(WXK_F8);
    Press(WXK_F8, wxMOD_SHIFT);
    EXPECT_THAT(notices, testing::ElementsAre(exRackPanel::kNothingNeedsAttention,
                                              exRackPanel::kNothingNeedsAttention));
    EXPECT_EQ(rack->GetScrollPos(wxVERTICAL), position);
    EXPECT_EQ(Outlined(), nullptr);
}

// The main window hands its keys to the rack, wherever the focus is, unless a dialog is open,
// and shows the rack's note in its status line for a while.
TEST(RackKeysInMainWindow, ReachTheRackUnlessADialogIsOpenAndTheNotePasses)
{
    exMainFrame* frame = new exMainFrame("Merrow Rigwise 1.16");
    frame->Show();
    PumpEventsFor(50);
    frame->controlPanel->SetFocus();
    frame->SetStatusText("IDs off", 1);
    const auto press = [frame](int code, bool control) {
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = code;
        key.m_controlDown = control;
        frame->controlPanel->ProcessWindowEvent(key);
    };
    frame->rackPanel->root->overlay = new exCanvasControl(nullptr, 0, 0, 10, 10, "dialog");
    press('F', true);
    press(WXK_F8, false);
    EXPECT_FALSE(frame->rackPanel->FindIsOpen());
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(1), "IDs off");
    exOverlay::Close(frame->rackPanel->root);

    press(WXK_F8, false);
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(1), exRackPanel::kNothingNeedsAttention);
    ASSERT_TRUE(frame->noticeTimer->IsRunning());
    EXPECT_EQ(frame->noticeTimer->GetInterval(), exMainFrame::kNoticeMs);
    frame->noticeTimer->Stop();
    frame->noticeTimer->Notify();
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(1), "IDs off");
    press('F', true);
    EXPECT_TRUE(frame->rackPanel->FindIsOpen());
    frame->Close(true);
    PumpEventsUntil([] { return exAppState::mainFrame == nullptr && wxTopLevelWindows.empty(); },
                    2000);
}
