// Text entries: typing, Backspace, Tab, the filter of the owning dialog, the IPv4 entry's fills.
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/controls/canvasiptextcontrol.h"
#include "common/controls/canvastextcontrol.h"
#include "common/controls/textmeasure.h"
#include "support/canvasevents.h"

using testing::ElementsAre;

namespace {

// Plays a dialog that owns the entries: logs notifications and answers FilterChar as told.
class DialogStandIn : public RecordingControl {
public:
    DialogStandIn(exCanvasControl* root, std::vector<std::string>* log)
        : RecordingControl(root, 0, 0, 300, 200, "dialog", log)
    {
    }
    int FilterChar(wxChar character) override
    {
        filtered += character;
        return answer;
    }
    int answer = -1;
    wxString filtered;
};

struct EntryTree {
    EntryTree()
    {
        dialog = new DialogStandIn(root.get(), &log);
        entry = new exCanvasTextControl(dialog, "", 10, 10, 100, 20);
        dialog->children->Append(entry);
        root->GiveFocus(entry);
    }
    std::vector<std::string> log;
    std::unique_ptr<exCanvasControl> root{new exCanvasControl(nullptr, 0, 0, 0, 0, "root")};
    DialogStandIn* dialog;
    exCanvasTextControl* entry;
};

wxColour PixelAt(const wxImage& image, int x, int y)
{
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

} // namespace

TEST(CanvasTextControl, TypingEditsTheTextAndNotifiesWithZeroCoordinates)
{
    struct Case {
        const char* before;
        std::vector<wxChar> typed;
        const char* after;
        size_t notifications;
    } cases[] = {
        {"", {'1', '2', '.'}, "12.", 3},
        {"abc", {8}, "ab", 1},
        {"", {8, 8}, "", 2},        // Backspace on empty text still notifies
        {"a", {0}, "a", 0},         // nothing typed
        {"a", {7}, "a\a", 1},       // not printable, appended all the same
        {"x", {0x00E9}, "x\u00E9", 1},
    };
    for (const Case& c : cases) {
        EntryTree tree;
        tree.entry->text = wxString::FromUTF8(c.before);
        tree.root->dirty = false;
        for (wxChar ch : c.typed)
            tree.root->OnChar(ch);
        EXPECT_EQ(tree.entry->text, wxString::FromUTF8(c.after)) << c.before;
        EXPECT_EQ(tree.log.size(), c.notifications) << c.before;
        if (c.notifications) {
            EXPECT_EQ(tree.log.back(), "dialog<@0,0");
            EXPECT_TRUE(tree.root->dirty);
        }
    }
}

TEST(CanvasTextControl, DialogFilterIsAskedFirstAndZeroStopsTheEntry)
{
    struct Case {
        int answer;
        const char* after;
        size_t notifications;
    } cases[] = {{-1, "ab", 1}, {1, "ab", 1}, {0, "a", 0}};
    for (const Case& c : cases) {
        EntryTree tree;
        tree.entry->text = "a";
        tree.dialog->answer = c.answer;
        tree.root->OnChar('b');
        EXPECT_EQ(tree.dialog->filtered, "b");
        EXPECT_EQ(tree.entry->text, c.after) << c.answer;
        EXPECT_EQ(tree.log.size(), c.notifications) << c.answer;
    }
}

TEST(CanvasTextControl, TabMovesFocusToTheNextSiblingWithoutEditing)
{
    EntryTree tree;
    auto* second = new exCanvasTextControl(tree.dialog, "", 10, 40, 100, 20);
    tree.dialog->children->Append(second);
    tree.root->OnChar('\t');
    EXPECT_EQ(tree.root->focusedControl, second);
    EXPECT_TRUE(second->hasFocus);
    EXPECT_FALSE(tree.entry->hasFocus);
    EXPECT_TRUE(tree.dialog->filtered.empty()) << "Tab is not offered to the dialog";
    EXPECT_TRUE(tree.log.empty());
    EXPECT_EQ(second->text, "");

    tree.root->OnChar('\t'); // last entry: back to the first child, which takes focus
    EXPECT_EQ(tree.root->focusedControl, tree.entry);
}

TEST(CanvasTextControl, TabInTheLastEntryStaysWhenTheFirstChildTakesNoFocus)
{
    EntryTree tree;
    tree.dialog->children->DeleteObject(tree.entry);
    new RecordingControl(tree.dialog, 0, 0, 10, 10, "label", nullptr);
    tree.dialog->children->Append(tree.entry);
    tree.root->OnChar('\t');
    EXPECT_EQ(tree.root->focusedControl, tree.entry);
}

TEST(CanvasTextControl, PressOnAnEntryGivesItTheFocusFrame)
{
    EntryTree tree;
    auto* other = new exCanvasTextControl(tree.dialog, "", 10, 40, 100, 20);
    tree.dialog->children->Append(other);
    tree.root->RouteMouse(PressAt(other->x + 3, other->y + 3));
    EXPECT_EQ(tree.root->focusedControl, other);

    const wxImage image = PaintToImage(*tree.root, 120, 80);
    EXPECT_EQ(PixelAt(image, other->x + 50, other->y), *wxWHITE) << "focus frame";
    EXPECT_EQ(PixelAt(image, tree.entry->x + 50, tree.entry->y), wxColour(170, 170, 170));
}

TEST(DottedQuad, OnlyFourDecimalPartsUpTo255AreAnAddress)
{
    struct Case {
        const char* text;
        uint32_t address;
    } cases[] = {
        {"192.168.1.1", 0xC0A80101}, {"10.0.0.1", 0x0A000001}, {"255.255.255.255", 0xFFFFFFFF},
        {"0.0.0.1", 0x00000001},     {"0.0.0.0", 0},           {"192.168.1", 0},
        {"1.2.3.4.5", 0},            {"256.1.1.1", 0},         {"1.2.3.256", 0},
        {"a.b.c.d", 0},              {"", 0},                  {"1..2.3", 0},
        {"1.2.3.", 0},               {".1.2.3", 0},            {"1.2.3.4x", 0},
        {"-1.2.3.4", 0},             {"1.2.3.99999999999", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseDottedQuad(c.text), c.address) << c.text;
}

TEST(CanvasIPTextControl, FillShowsWhetherTheTextIsAnAddress)
{
    struct Case {
        const char* text;
        wxColour fill;
    } cases[] = {
        {"192.168.1.1", wxColour(100, 160, 100)}, {"192.168.1", wxColour(160, 100, 100)},
        {"1.2.3.4.5", wxColour(160, 100, 100)},   {"256.1.1.1", wxColour(160, 100, 100)},
        {"a.b.c.d", wxColour(160, 100, 100)},     {"0.0.0.0", wxColour(160, 100, 100)},
    };
    for (const Case& c : cases) {
        exCanvasControl root(nullptr, 0, 0, 0, 0, "");
        auto* entry = new exCanvasIPTextControl(&root, c.text, 0, 0, 200, 30);
        root.children->Append(entry);
        const wxImage image = PaintToImage(root, 200, 30);
        // Far right of the entry, clear of the text.
        EXPECT_EQ(PixelAt(image, 185, 20), c.fill) << c.text;
    }
}

TEST(MeasureText, WiderTextsMeasureWiderInTheLabelFont)
{
    const wxSize one = MeasureText(CanvasLabelFont(), "8");
    const wxSize three = MeasureText(CanvasLabelFont(), "888");
    EXPECT_GT(one.x, 0);
    EXPECT_GT(one.y, 0);
    EXPECT_GT(three.x, 2 * one.x);
    EXPECT_EQ(three.y, one.y);

    ScopedTextMeasurer fixed({{"888", 41.9}}, 13.7);
    EXPECT_EQ(MeasureText(CanvasLabelFont(), "888"), wxSize(41, 13));
}
