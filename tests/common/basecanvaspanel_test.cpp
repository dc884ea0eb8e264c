// The canvas panel: mapping window points into the control tree, wheel scrolling, leave and
// enter, the overlay, characters and size.
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <wx/frame.h>

#include "common/basecanvaspanel.h"
#include "common/controls/canvascontrol.h"
#include "common/controls/canvastextcontrol.h"
#include "support/canvasevents.h"
#include "support/testudp.h"

using testing::ElementsAre;

namespace {

// Remembers every event that reaches it and answers with a chosen control.
class ProbeControl : public exCanvasControl {
public:
    ProbeControl() : exCanvasControl(nullptr, 0, 0, 0, 0, "probe") {}
    exCanvasControl* RouteMouse(wxMouseEvent event) override
    {
        points.push_back(event.GetPosition());
        return answer;
    }
    std::vector<wxPoint> points;
    exCanvasControl* answer = nullptr;
};

class TestPanel : public exBaseCanvasPanel {
public:
    explicit TestPanel(wxWindow* parent) : exBaseCanvasPanel(parent, "Test")
    {
        root = probe = new ProbeControl;
    }
    ~TestPanel() override { delete probe; }
    void OnControlPressed(exCanvasControl* control) override { pressed.push_back(control); }
    void Relayout() override
    {
        ++relayouts;
        clientAtRelayout = GetClientSize();
    }

    ProbeControl* probe;
    std::vector<exCanvasControl*> pressed;
    int relayouts = 0;
    wxSize clientAtRelayout;
};

class CanvasPanelTest : public testing::Test {
protected:
    void SetUp() override
    {
        frame = new wxFrame(nullptr, wxID_ANY, "canvas", wxDefaultPosition, wxSize(400, 300));
        panel = new TestPanel(frame);
        frame->Show();
        PumpEventsFor(50);
        panel->SetScrollbars(1, 1, 0, 5000, 0, 0);
    }
    void TearDown() override { frame->Destroy(); }

    void Send(wxMouseEvent event)
    {
        event.SetEventObject(panel);
        panel->ProcessWindowEvent(event);
    }
    wxMouseEvent Wheel(int rotation)
    {
        wxMouseEvent event = MouseAt(wxEVT_MOUSEWHEEL, 10, 10);
        event.m_wheelRotation = rotation;
        event.m_wheelDelta = 120;
        return event;
    }

    wxFrame* frame = nullptr;
    TestPanel* panel = nullptr;
};

} // namespace

TEST_F(CanvasPanelTest, MapsWindowPointsThroughOriginZoomAndScroll)
{
    struct Case {
        double scale;
        wxPoint origin;
        int scroll;
        wxPoint window, canvas;
    } cases[] = {
        {2.0, {20, 20}, 100, {60, 70}, {20, 125}},
        {1.0, {0, 0}, 0, {37, 41}, {37, 41}},
        {0.5, {0, 0}, 10, {7, 7}, {14, 24}},
        {3.0, {20, 20}, 0, {24, 25}, {1, 1}},   // 1.33 and 1.67 truncate down
        {2.0, {20, 20}, 0, {19, 15}, {0, -2}},  // -0.5 truncates toward zero, -2.5 too
    };
    for (const Case& c : cases) {
        panel->canvasScale = c.scale;
        panel->SetOrigin(c.origin.x, c.origin.y);
        panel->Scroll(-1, c.scroll);
        ASSERT_EQ(panel->GetScrollPos(wxVERTICAL), c.scroll);
        panel->probe->points.clear();
        Send(PressAt(c.window.x, c.window.y));
        EXPECT_THAT(panel->probe->points, ElementsAre(c.canvas)) << c.window.x << "," << c.window.y;
    }
}

TEST_F(CanvasPanelTest, WheelMovesOneUnitPerTwentyOfRotationAndRoutesNothing)
{
    struct Case {
        int rotation;
        int expected;
    } cases[] = {{120, 106}, {-120, 94}, {19, 100}, {-19, 100}, {40, 102}, {-2400, 0}};
    for (const Case& c : cases) {
        panel->Scroll(-1, 100);
        Send(Wheel(c.rotation));
        EXPECT_EQ(panel->GetScrollPos(wxVERTICAL), c.expected) << c.rotation;
    }
    EXPECT_TRUE(panel->probe->points.empty());
}

TEST_F(CanvasPanelTest, AfterLeavingNothingIsRoutedUntilTheMouseEntersAgain)
{
    Send(MoveTo(5, 5));
    Send(MouseAt(wxEVT_LEAVE_WINDOW, 500, 5));
    Send(MoveTo(6, 6));
    Send(PressAt(6, 6));
    EXPECT_EQ(panel->probe->points.size(), 1u);

    Send(MouseAt(wxEVT_ENTER_WINDOW, 7, 7));
    Send(PressAt(8, 8));
    EXPECT_THAT(panel->probe->points, ElementsAre(wxPoint(5, 5), wxPoint(7, 7), wxPoint(8, 8)));
}

TEST_F(CanvasPanelTest, OverlayTakesEveryClickInWindowPixels)
{
    ProbeControl* overlay = new ProbeControl;
    panel->root->overlay = overlay;
    panel->canvasScale = 2.0;
    panel->SetOrigin(20, 20);
    panel->Scroll(-1, 100);

    Send(PressAt(60, 70));
    Send(PressAt(300, 200));
    EXPECT_THAT(overlay->points, ElementsAre(wxPoint(60, 70), wxPoint(300, 200)));
    EXPECT_TRUE(panel->probe->points.empty());
    panel->root->overlay = nullptr;
    delete overlay;
}

TEST_F(CanvasPanelTest, ControlThatTookThePressIsHandedToThePanel)
{
    exCanvasControl taken(nullptr, 0, 0, 10, 10, "taken");
    Send(PressAt(1, 1));
    panel->probe->answer = &taken;
    Send(PressAt(2, 2));
    EXPECT_THAT(panel->pressed, ElementsAre(&taken));
}

TEST_F(CanvasPanelTest, SizeIsStoredInTheRootAndRelaysOut)
{
    const int before = panel->relayouts;
    frame->SetSize(wxSize(520, 330));
    PumpEventsUntil([&] { return panel->relayouts > before; }, 1000);
    EXPECT_GT(panel->relayouts, before);
    EXPECT_EQ(panel->root->clientWidth, panel->clientAtRelayout.x);
    EXPECT_EQ(panel->root->clientHeight, panel->clientAtRelayout.y);
    EXPECT_GT(panel->root->clientWidth, 400);
}

TEST_F(CanvasPanelTest, TypedCharactersReachTheFocusedEntry)
{
    auto* entry = new exCanvasTextControl(panel->root, "ab", 0, 0, 50, 20);
    panel->root->children->Append(entry);
    wxKeyEvent key(wxEVT_CHAR);
    key.m_uniChar = 'c';
    key.SetEventObject(panel);
    panel->ProcessWindowEvent(key);
    EXPECT_EQ(entry->text, "ab") << "no entry has the focus yet";

    panel->root->GiveFocus(entry);
    panel->ProcessWindowEvent(key);
    EXPECT_EQ(entry->text, "abc");
}

TEST_F(CanvasPanelTest, PaintsOnlyWhileShown)
{
    panel->root->dirty = true;
    panel->Refresh();
    EXPECT_TRUE(PumpEventsUntil([&] { return !panel->root->dirty; }, 2000));

    panel->Hide();
    panel->root->dirty = true;
    panel->Refresh();
    PumpEventsFor(200);
    EXPECT_TRUE(panel->root->dirty);
}
