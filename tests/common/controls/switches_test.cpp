// Switches, switch-and-button pairs and the segmented control.
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/controls/canvasbutton.h"
#include "common/controls/canvasswitch.h"
#include "common/controls/segmentedcontrol.h"
#include "common/controls/switchandbutton.h"
#include "support/canvasevents.h"

using testing::ElementsAre;

namespace {

// An owner that notes the state of the control that told it of a click.
class Owner : public exCanvasControl {
public:
    explicit Owner(exCanvasControl* root) : exCanvasControl(root, 0, 0, 500, 200, "owner")
    {
        root->children->Append(this);
    }
    bool OnClick(exCanvasControl* source, int, int) override
    {
        if (auto* toggle = dynamic_cast<exCanvasSwitch*>(source))
            heard.push_back(toggle->on ? "switch on" : "switch off");
        else if (auto* segments = dynamic_cast<exCanvasSegementedControl*>(source))
            heard.push_back("segment " + std::to_string(segments->selection));
        else
            heard.push_back(std::string(source->label.utf8_str()));
        return true;
    }
    std::vector<std::string> heard;
};

struct Tree {
    std::unique_ptr<exCanvasControl> root{new exCanvasControl(nullptr, 0, 0, 0, 0, "")};
    Owner* owner = new Owner(root.get());

    exCanvasControl* Press(exCanvasControl& control, int dx, int dy)
    {
        // A motion first ends any earlier press, as the real pointer would.
        root->RouteMouse(MoveTo(control.x + dx, control.y + dy));
        return root->RouteMouse(PressAt(control.x + dx, control.y + dy));
    }
};

wxColour PixelAt(const wxImage& image, int x, int y)
{
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

wxArrayString Items(std::initializer_list<const char*> labels)
{
    wxArrayString items;
    for (const char* label : labels)
        items.Add(label);
    return items;
}

} // namespace

TEST(CanvasSwitch, EachPressFlipsItAndTheOwnerSeesTheNewState)
{
    Tree tree;
    auto* toggle = new exCanvasSwitch(tree.owner, true, 10, 10, 60, 20);
    tree.owner->children->Append(toggle);
    tree.Press(*toggle, 5, 5);
    tree.Press(*toggle, 40, 5);
    tree.Press(*toggle, 40, 5);
    EXPECT_THAT(tree.owner->heard, ElementsAre("switch off", "switch on", "switch off"));
    EXPECT_FALSE(toggle->on);
}

TEST(CanvasSwitch, TheLitHalfIsTheCurrentState)
{
    for (bool on : {true, false}) {
        exCanvasControl root(nullptr, 0, 0, 0, 0, "");
        auto* toggle = new exCanvasSwitch(&root, on, 0, 0, 100, 20);
        root.children->Append(toggle);
        ScopedTextMeasurer tiny({}, 2.0); // keeps the labels out of the sampled corners
        const wxImage image = PaintToImage(root, 100, 20);
        const wxColour lit(170, 170, 170);
        EXPECT_EQ(PixelAt(image, 3, 16), on ? lit : *wxBLACK) << on;
        EXPECT_EQ(PixelAt(image, 93, 16), on ? *wxBLACK : lit) << on;
    }
}

TEST(SwitchAndButton, ButtonWorksExactlyWhileTheSwitchIsOff)
{
    Tree tree;
    auto* pair = new exCanvasSwitchAndButton(tree.owner, 0, 0, 220, 20, "Scan");
    tree.owner->children->Append(pair);
    PaintToImage(*tree.root, 400, 40); // places the switch and the button
    exCanvasButton& button = *pair->button;
    exCanvasSwitch& toggle = *pair->switchControl;
    ASSERT_TRUE(toggle.on);
    ASSERT_FALSE(button.enabled);

    EXPECT_EQ(tree.Press(button, 5, 5), nullptr) << "disabled while the switch is on";
    EXPECT_EQ(button.mouseState, 0);

    EXPECT_EQ(tree.Press(toggle, 5, 5), &toggle);
    EXPECT_FALSE(toggle.on);
    EXPECT_TRUE(button.enabled);
    EXPECT_EQ(tree.Press(button, 5, 5), &button);

    tree.Press(toggle, 5, 5);
    EXPECT_TRUE(toggle.on);
    EXPECT_FALSE(button.enabled);
    // The owner hears only of the button.
    EXPECT_THAT(tree.owner->heard, ElementsAre("Scan"));
}

TEST(SwitchAndButton, FirstPaintPlacesThePartsAfterTheCaptionAndFixesTheSize)
{
    ScopedTextMeasurer measure({{"Auto Update", 80.0}});
    Tree tree;
    auto* pair = new exCanvasSwitchAndButton(tree.owner, 0, 0, 220, 100, "Update");
    tree.owner->children->Append(pair);
    EXPECT_EQ(wxSize(pair->width, pair->height), wxSize(211, 96));

    PaintToImage(*tree.root, 400, 120);
    EXPECT_EQ(pair->switchControl->x, 89);  // 80 + 10 x 0.96
    EXPECT_EQ(pair->button->x, 156);        // 80 + 80 x 0.96
    EXPECT_EQ(pair->switchControl->y, 0);
    // The caption, the two 57-pixel parts and 20 units of gaps; 20 units high.
    EXPECT_EQ(wxSize(pair->width, pair->height), wxSize(213, 19));

    PaintToImage(*tree.root, 400, 120);
    EXPECT_EQ(measure.calls, 4) << "caption, On, Off and the button label, once each";
}

TEST(SegmentedControl, SegmentsFollowTheWidestLabelOrShareTheDesignWidth)
{
    struct Case {
        int designWidth;
        int segmentWidth, width;
        std::vector<std::pair<int, int>> presses; // x, selection after it
    } cases[] = {
        {30, 30, 90, {{0, 0}, {29, 0}, {30, 1}, {59, 1}, {60, 2}, {89, 2}, {90, 2}}},
        {200, 66, 200, {{65, 0}, {66, 1}, {131, 1}, {132, 2}, {198, 2}, {199, 2}, {200, 2}}},
    };
    for (const Case& c : cases) {
        ScopedTextMeasurer measure({{"A", 12.0}, {"Bb", 20.0}, {"C", 8.0}});
        Tree tree;
        auto* segments = new exCanvasSegementedControl(tree.owner, Items({"A", "Bb", "C"}), 0, 0,
                                                       0, c.designWidth, 20);
        tree.owner->children->Append(segments);
        PaintToImage(*tree.root, 300, 40);
        EXPECT_EQ(segments->segmentWidth, c.segmentWidth);
        EXPECT_EQ(segments->width, c.width);
        for (auto [px, expected] : c.presses) {
            segments->selection = -1;
            segments->NotifyClick(px, 5);
            EXPECT_EQ(segments->selection, expected) << c.designWidth << " at " << px;
        }
    }
}

TEST(SegmentedControl, PressesThroughTheTreeReachTheOwnerWithTheNewSelection)
{
    ScopedTextMeasurer measure({}, 12.0); // 10 per character: segments of 20
    Tree tree;
    auto* segments = new exCanvasSegementedControl(tree.owner, Items({"DMX", "Art", "sACN", "Off"}),
                                                   3, 0, 0, 100, 20);
    tree.owner->children->Append(segments);
    // Pressed before it was ever painted: it measures first.
    tree.Press(*segments, 38, 5);
    EXPECT_TRUE(segments->measured);
    EXPECT_EQ(segments->segmentWidth, 50);
    EXPECT_THAT(tree.owner->heard, ElementsAre("segment 0"));
    tree.Press(*segments, 55, 5);
    EXPECT_THAT(tree.owner->heard, ElementsAre("segment 0", "segment 1"));
}

TEST(SegmentedControl, TallLabelsRaiseTheSegmentsAndOnlyTheSelectedOneIsFilled)
{
    ScopedTextMeasurer measure({}, 30.0);
    exCanvasControl root(nullptr, 0, 0, 0, 0, "");
    auto* segments = new exCanvasSegementedControl(&root, Items({"A", "B"}), 1, 0, 0, 100, 20);
    root.children->Append(segments);
    const wxImage image = PaintToImage(root, 120, 40);
    EXPECT_EQ(segments->segmentHeight, 30);
    EXPECT_EQ(segments->height, 30);
    EXPECT_EQ(PixelAt(image, 5, 3), *wxWHITE) << "unselected: outline only";
    EXPECT_EQ(PixelAt(image, 55, 3), wxColour(170, 170, 170));
}
