// The control tree: routing of presses and hover, the click chain, focus, drawing extents.
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/controls/canvascontrol.h"
#include "support/canvasevents.h"

using testing::ElementsAre;

namespace {

struct Tree {
    std::vector<std::string> log;
    std::unique_ptr<exCanvasControl> root{new exCanvasControl(nullptr, 0, 0, 0, 0, "root")};
};

class CountedControl : public exCanvasControl {
public:
    CountedControl(exCanvasControl* parent, int* deaths)
        : exCanvasControl(parent, 0, 0, 10, 10, "counted"), deaths(deaths)
    {
        parent->children->Append(this);
    }
    ~CountedControl() override { ++*deaths; }
    int* deaths;
};

class FilteringControl : public RecordingControl {
public:
    FilteringControl(exCanvasControl* parent, const wxString& name, int answer)
        : RecordingControl(parent, 0, 0, 100, 100, name, nullptr), answer(answer)
    {
    }
    int FilterChar(wxChar) override { return answer; }
    int answer;
};

} // namespace

TEST(CanvasControlList, KeepsInsertionOrderThroughInsertAndDelete)
{
    exCanvasControl a(nullptr, 0, 0, 0, 0, "a"), b(nullptr, 0, 0, 0, 0, "b"),
        c(nullptr, 0, 0, 0, 0, "c"), d(nullptr, 0, 0, 0, 0, "d");
    exCanvasControlList list;
    list.Append(&a);
    list.Append(&c);
    list.Insert(list.Find(&c), &b);
    list.Insert(list.begin(), &d);
    std::vector<exCanvasControl*> order(list.begin(), list.end());
    EXPECT_THAT(order, ElementsAre(&d, &a, &b, &c));

    EXPECT_TRUE(list.DeleteObject(&d));
    EXPECT_TRUE(list.DeleteObject(&c));
    EXPECT_FALSE(list.DeleteObject(&c));
    list.Append(&d);
    order.assign(list.begin(), list.end());
    EXPECT_THAT(order, ElementsAre(&a, &b, &d));
    EXPECT_EQ(list.GetCount(), 3u);
    EXPECT_TRUE(list.Find(&c) == list.end());

    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetFirst(), nullptr);
}

TEST(CanvasControl, DestructorDeletesEveryChildAndTheRetiredOverlay)
{
    int deaths = 0;
    {
        exCanvasControl root(nullptr, 0, 0, 0, 0, "");
        auto* group = new CountedControl(&root, &deaths);
        new CountedControl(group, &deaths);
        new CountedControl(&root, &deaths);
        root.retiredOverlay = new CountedControl(&root, &deaths);
        root.children->DeleteObject(root.retiredOverlay);
    }
    EXPECT_EQ(deaths, 4);
}

TEST(CanvasControl, PositionAndSizeAreDesignUnitsTimesDisplayScale)
{
    exCanvasControl control(nullptr, 25, 75, 100, 60, "");
    EXPECT_FLOAT_EQ(control.displayScale, 0.96f);
    EXPECT_EQ(wxPoint(control.x, control.y), wxPoint(24, 72));
    EXPECT_EQ(wxSize(control.width, control.height), wxSize(96, 57));
    EXPECT_EQ(wxSize(control.designWidth, control.designHeight), wxSize(100, 60));
}

TEST(CanvasControl, LeafIsHitUpToAndIncludingItsRightAndBottomEdges)
{
    struct Case {
        int dx, dy; // from the leaf's top-left corner
        bool hit;
    } cases[] = {{0, 0, true},   {1, 1, true},    {-1, 0, false},
                 {0, -1, false}, {48, 19, true}, {49, 19, false}, {48, 20, false}};
    for (const Case& c : cases) {
        Tree tree;
        auto* leaf = new RecordingControl(tree.root.get(), 10, 10, 50, 20, "leaf", &tree.log);
        ASSERT_EQ(wxSize(leaf->width, leaf->height), wxSize(48, 19));
        exCanvasControl* taker = tree.root->RouteMouse(PressAt(leaf->x + c.dx, leaf->y + c.dy));
        EXPECT_EQ(taker == leaf, c.hit) << c.dx << "," << c.dy;
        EXPECT_EQ(tree.log.size(), c.hit ? 1u : 0u);
    }
}

TEST(CanvasControl, ContainerNeverTakesThePressItself)
{
    Tree tree;
    auto* box = new RecordingControl(tree.root.get(), 0, 0, 200, 200, "box", &tree.log);
    auto* key = new RecordingControl(box, 10, 10, 20, 20, "key", &tree.log);

    EXPECT_EQ(tree.root->RouteMouse(PressAt(150, 150)), nullptr);
    EXPECT_EQ(box->mouseState, 0);
    EXPECT_TRUE(tree.log.empty());

    EXPECT_EQ(tree.root->RouteMouse(PressAt(key->x + 2, key->y + 2)), key);
    EXPECT_THAT(tree.log, ElementsAre("key<key@2,2", "box<key@2,2"));
}

TEST(CanvasControl, FirstChildTakesThePressWhereChildrenOverlap)
{
    Tree tree;
    auto* under = new RecordingControl(tree.root.get(), 0, 0, 50, 50, "first", &tree.log);
    new RecordingControl(tree.root.get(), 0, 0, 50, 50, "second", &tree.log);
    EXPECT_EQ(tree.root->RouteMouse(PressAt(5, 5)), under);
    EXPECT_THAT(tree.log, ElementsAre("first<first@5,5"));
}

TEST(CanvasControl, ClickChainStopsAtTheFirstControlThatHandlesIt)
{
    Tree tree;
    auto* dialog = new RecordingControl(tree.root.get(), 0, 0, 100, 100, "dialog", &tree.log);
    auto* group = new RecordingControl(dialog, 0, 0, 100, 100, "group", &tree.log, true);
    auto* key = new RecordingControl(group, 0, 0, 10, 10, "key", &tree.log);
    key->NotifyClick(3, 4);
    EXPECT_THAT(tree.log, ElementsAre("key<key@3,4", "group<key@3,4"));
}

TEST(CanvasControl, HeldPressIsNotifiedOnceAndShowsPressedUntilTheNextEvent)
{
    Tree tree;
    auto* button = new RecordingControl(tree.root.get(), 0, 0, 40, 20, "b", &tree.log);

    EXPECT_EQ(tree.root->RouteMouse(MoveTo(5, 5)), nullptr);
    EXPECT_EQ(button->mouseState, 1);
    EXPECT_TRUE(tree.root->dirty);
    tree.root->dirty = false;

    EXPECT_EQ(tree.root->RouteMouse(PressAt(5, 5)), button);
    EXPECT_EQ(button->mouseState, 2);
    EXPECT_TRUE(tree.root->dirty);
    // A second press or double-click while still pressed is the same press.
    EXPECT_EQ(tree.root->RouteMouse(PressAt(6, 5)), button);
    EXPECT_EQ(tree.root->RouteMouse(MouseAt(wxEVT_LEFT_DCLICK, 6, 5)), button);
    EXPECT_EQ(tree.log.size(), 1u);

    tree.root->dirty = false;
    EXPECT_EQ(tree.root->RouteMouse(MoveTo(7, 5)), nullptr);
    EXPECT_EQ(button->mouseState, 1);
    EXPECT_TRUE(tree.root->dirty);
    tree.root->dirty = false;
    tree.root->RouteMouse(MoveTo(8, 5));
    EXPECT_FALSE(tree.root->dirty) << "moving within a hovered control changes no look";

    EXPECT_EQ(tree.root->RouteMouse(MouseAt(wxEVT_LEFT_DCLICK, 8, 5)), button);
    EXPECT_EQ(tree.log.size(), 2u);
}

TEST(CanvasControl, LeavingClearsHoverOfTheWholeSubtree)
{
    Tree tree;
    auto* box = new RecordingControl(tree.root.get(), 20, 20, 100, 100, "box", &tree.log);
    auto* key = new RecordingControl(box, 0, 0, 20, 20, "key", &tree.log);
    auto* other = new RecordingControl(tree.root.get(), 200, 0, 20, 20, "other", &tree.log);

    tree.root->RouteMouse(MoveTo(box->x + 1, box->y + 1));
    ASSERT_EQ(key->mouseState, 1);
    tree.root->RouteMouse(MoveTo(5, 5)); // left of and above the box
    EXPECT_EQ(key->mouseState, 0);

    tree.root->RouteMouse(MoveTo(other->x + 1, 1));
    ASSERT_EQ(other->mouseState, 1);
    tree.root->RouteMouse(MoveTo(other->x + 30, 1)); // right of it
    EXPECT_EQ(other->mouseState, 0);
}

TEST(CanvasControl, DisabledControlTakesNothingAndItsSubtreeIsNotVisited)
{
    Tree tree;
    auto* leaf = new RecordingControl(tree.root.get(), 0, 0, 40, 20, "leaf", &tree.log);
    tree.root->RouteMouse(MoveTo(5, 5));
    ASSERT_EQ(leaf->mouseState, 1);

    leaf->SetEnabled(false);
    tree.root->dirty = false;
    EXPECT_EQ(tree.root->RouteMouse(PressAt(5, 5)), nullptr);
    EXPECT_EQ(leaf->mouseState, 0);
    EXPECT_TRUE(tree.root->dirty);
    EXPECT_TRUE(tree.log.empty());

    auto* box = new RecordingControl(tree.root.get(), 100, 0, 100, 100, "box", &tree.log);
    auto* key = new RecordingControl(box, 0, 0, 20, 20, "key", &tree.log);
    tree.root->RouteMouse(MoveTo(box->x + 1, 1));
    ASSERT_EQ(key->mouseState, 1);
    box->enabled = false; // the key itself stays enabled
    EXPECT_EQ(tree.root->RouteMouse(PressAt(box->x + 1, 1)), nullptr);
    EXPECT_EQ(key->mouseState, 1) << "the key was not visited";
    EXPECT_TRUE(tree.log.empty());
}

TEST(CanvasControl, SetEnabledReachesTheWholeSubtree)
{
    Tree tree;
    auto* box = new RecordingControl(tree.root.get(), 0, 0, 100, 100, "box", &tree.log);
    auto* key = new RecordingControl(box, 0, 0, 20, 20, "key", &tree.log);
    box->SetEnabled(false);
    EXPECT_FALSE(key->enabled);
    box->SetEnabled(true);
    EXPECT_TRUE(key->enabled);
}

TEST(CanvasControl, HiddenControlDrawsNothingAndTakesNothing)
{
    Tree tree;
    auto* shown = new RecordingControl(tree.root.get(), 300, 300, 50, 20, "shown", &tree.log);
    auto* hidden = new RecordingControl(tree.root.get(), 0, 0, 200, 100, "hidden", &tree.log);
    hidden->hidden = true;
    wxImage image = PaintToImage(*tree.root, 10, 10);
    (void)image;
    // The root grows to its children's own sizes, not to their far edges.
    EXPECT_EQ(wxSize(tree.root->width, tree.root->height), wxSize(shown->width, shown->height));
    EXPECT_EQ(tree.root->RouteMouse(PressAt(5, 5)), nullptr);
    EXPECT_TRUE(tree.log.empty());
}

TEST(CanvasControl, DrawingClearsTheRootsDirtyFlag)
{
    Tree tree;
    tree.root->dirty = true;
    PaintToImage(*tree.root, 10, 10);
    EXPECT_FALSE(tree.root->dirty);
}

TEST(CanvasControl, PressMovesFocusOnlyToControlsThatTakeIt)
{
    Tree tree;
    auto* first = new RecordingControl(tree.root.get(), 0, 0, 20, 20, "first", nullptr);
    auto* plain = new RecordingControl(tree.root.get(), 30, 0, 20, 20, "plain", nullptr);
    auto* second = new RecordingControl(tree.root.get(), 60, 0, 20, 20, "second", nullptr);
    first->takesFocus = second->takesFocus = true;

    tree.root->RouteMouse(PressAt(first->x + 1, 1));
    EXPECT_EQ(tree.root->focusedControl, first);
    EXPECT_TRUE(first->hasFocus);
    tree.root->RouteMouse(PressAt(plain->x + 1, 1));
    EXPECT_EQ(tree.root->focusedControl, first);
    tree.root->RouteMouse(PressAt(second->x + 1, 1));
    EXPECT_EQ(tree.root->focusedControl, second);
    EXPECT_FALSE(first->hasFocus);
    EXPECT_TRUE(second->hasFocus);
}

TEST(CanvasControl, FocusNextWrapsToTheFirstChildOnlyWhenItTakesFocus)
{
    struct Case {
        bool firstTakesFocus;
        char focused, from, expected; // 'a', 'b', or 's' for a control outside the list
    } cases[] = {
        {true, 'a', 'a', 'b'},  // to the next sibling
        {true, 'b', 'b', 'a'},  // wraps around
        {false, 'b', 'b', 'b'}, // the first child does not take focus: stays
        {true, 'a', 's', 'a'},  // not a child: nothing happens
    };
    for (const Case& c : cases) {
        Tree tree;
        auto* a = new RecordingControl(tree.root.get(), 0, 0, 10, 10, "a", nullptr);
        auto* b = new RecordingControl(tree.root.get(), 0, 0, 10, 10, "b", nullptr);
        RecordingControl stranger(nullptr, 0, 0, 10, 10, "s", nullptr);
        a->takesFocus = c.firstTakesFocus;
        b->takesFocus = true;
        auto pick = [&](char name) -> exCanvasControl* {
            return name == 'a' ? a : name == 'b' ? static_cast<exCanvasControl*>(b) : &stranger;
        };
        tree.root->GiveFocus(pick(c.focused));
        tree.root->FocusNext(pick(c.from));
        EXPECT_EQ(tree.root->focusedControl, pick(c.expected)) << c.from;
        EXPECT_EQ(a->hasFocus + b->hasFocus, 1);
    }
}

TEST(CanvasControl, FocusedControlWithoutTextHandlingDoesNotLoop)
{
    Tree tree;
    auto* plain = new RecordingControl(tree.root.get(), 0, 0, 10, 10, "plain", nullptr);
    tree.root->OnChar('x'); // nobody focused
    plain->takesFocus = true;
    tree.root->GiveFocus(plain);
    // A focused control without its own character handling must not bounce it back.
    tree.root->OnChar('x');
    SUCCEED();
}

TEST(CanvasControl, FilterCharTakesTheNearestDecidedAncestor)
{
    struct Case {
        int outer, inner;
        int expected;
    } cases[] = {{-1, -1, -1}, {5, -1, 5}, {5, 0, 0}, {-1, 1, 1}};
    for (const Case& c : cases) {
        Tree tree;
        auto* outer = new FilteringControl(tree.root.get(), "outer", c.outer);
        // The inner one answers for itself only when decided; otherwise it asks on up.
        exCanvasControl* inner = c.inner == -1 ? static_cast<exCanvasControl*>(
                                                     new RecordingControl(outer, 0, 0, 1, 1, "", nullptr))
                                               : new FilteringControl(outer, "inner", c.inner);
        auto* entry = new RecordingControl(inner, 0, 0, 1, 1, "entry", nullptr);
        EXPECT_EQ(entry->FilterChar('a'), c.expected);
    }
}
