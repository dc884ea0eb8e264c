// The on-screen keyboards: key layout, the last key, and the click handed to the direct parent.
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/controls/canvasbutton.h"
#include "common/controls/hexkeyboard.h"
#include "common/controls/numberkeyboard.h"
#include "support/canvasevents.h"

using testing::ElementsAre;

namespace {

struct KeyboardTree {
    std::vector<std::string> log;
    std::unique_ptr<exCanvasControl> root{new exCanvasControl(nullptr, 0, 0, 0, 0, "root")};
    RecordingControl* outer = new RecordingControl(root.get(), 0, 0, 400, 400, "outer", &log);
    RecordingControl* dialog = new RecordingControl(outer, 0, 0, 400, 400, "dialog", &log);
};

// Presses the middle of a key through the tree, as the panel would.
exCanvasControl* PressKey(exCanvasControl& root, exCanvasControl& keyboard, exCanvasButton& key)
{
    return root.RouteMouse(PressAt(keyboard.x + key.x + key.width / 2,
                                   keyboard.y + key.y + key.height / 2));
}

} // namespace

TEST(HexKeyboard, KeysSitInRowsOfFourAndReportTheirIndex)
{
    struct Case {
        int index;
        const char* label;
        int column, row;
    } cases[] = {{0, "0", 0, 0}, {3, "3", 3, 0}, {4, "4", 0, 1}, {10, "A", 2, 2}, {15, "F", 3, 3}};
    for (const Case& c : cases) {
        KeyboardTree tree;
        auto* keyboard = new exCanvasHexKeyboard(tree.dialog, 20, 30);
        tree.dialog->children->Append(keyboard);
        exCanvasButton& key = *keyboard->keys[c.index];
        EXPECT_EQ(key.label, c.label);
        EXPECT_EQ(wxPoint(key.x, key.y), wxPoint(int(c.column * 45 * 0.96f), int(c.row * 45 * 0.96f)));
        EXPECT_EQ(wxSize(key.width, key.height), wxSize(38, 38));

        EXPECT_EQ(keyboard->lastKey, -1);
        EXPECT_EQ(PressKey(*tree.root, *keyboard, key), &key);
        EXPECT_EQ(keyboard->lastKey, c.index);
        // Only the direct parent hears of it, with the keyboard as source.
        ASSERT_EQ(tree.log.size(), 1u);
        EXPECT_EQ(tree.log[0].substr(0, 8), "dialog<@");
    }
}

TEST(NumberKeyboard, DigitsReadOneToNineWithZeroUnderTheEight)
{
    struct Case {
        int index;
        const char* label;
        wxPoint design;
    } cases[] = {{0, "1", {0, 0}},   {2, "3", {50, 0}},   {4, "5", {25, 25}},
                 {6, "7", {0, 50}},  {8, "9", {50, 50}},  {9, "0", {25, 75}}};
    for (const Case& c : cases) {
        KeyboardTree tree;
        auto* keyboard = new exCanvasNumberKeyboard(tree.dialog, 0, 0);
        tree.dialog->children->Append(keyboard);
        exCanvasButton& key = *keyboard->keys[c.index];
        EXPECT_EQ(key.label, c.label);
        EXPECT_EQ(wxPoint(key.x, key.y),
                  wxPoint(int(c.design.x * 0.96f), int(c.design.y * 0.96f)));
        EXPECT_EQ(PressKey(*tree.root, *keyboard, key), &key);
        EXPECT_EQ(keyboard->lastKey, c.index);
    }
    KeyboardTree tree;
    auto* keyboard = new exCanvasNumberKeyboard(tree.dialog, 0, 0);
    EXPECT_EQ(keyboard->keys[9]->x, keyboard->keys[7]->x) << "0 is under the 8";
    EXPECT_EQ(wxPoint(keyboard->keys[9]->x, keyboard->keys[9]->y), wxPoint(24, 72));
    delete keyboard;
}

TEST(Keyboards, ClicksFromOtherSourcesGoOnUpTheChain)
{
    KeyboardTree tree;
    auto* keyboard = new exCanvasHexKeyboard(tree.dialog, 0, 0);
    tree.dialog->children->Append(keyboard);
    auto* stranger = new RecordingControl(keyboard, 300, 300, 10, 10, "stranger", &tree.log);
    stranger->NotifyClick(1, 1);
    EXPECT_EQ(keyboard->lastKey, -1);
    EXPECT_THAT(tree.log, ElementsAre("stranger<stranger@1,1", "dialog<stranger@1,1",
                                      "outer<stranger@1,1"));
    EXPECT_EQ(keyboard->FilterChar('5'), -1);
}
