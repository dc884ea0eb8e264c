#include <gtest/gtest.h>

#include "common/controls/canvascontrol.h"
#include "common/overlay.h"
#include "dialogs/dialogframe.h"

namespace {

// A dialog stand-in that reports its own deletion.
class TrackedDialog : public exCanvasControl {
public:
    TrackedDialog(exCanvasControl* root, bool* deleted)
        : exCanvasControl(root, 0, 0, 200, 100, "dialog"), deleted_(deleted)
    {
    }
    ~TrackedDialog() override { *deleted_ = true; }

private:
    bool* deleted_;
};

} // namespace

TEST(DialogFrame, OkRetiresTheDialogCommitsAndDropsTheFocus)
{
    exCanvasControl root(nullptr, 0, 0, 0, 0, "");
    root.clientWidth = 800;
    root.clientHeight = 600;
    bool firstDeleted = false, secondDeleted = false;
    auto* first = new TrackedDialog(&root, &firstDeleted);
    exOverlay::Open(&root, first);
    EXPECT_EQ(root.overlay, first);

    exCanvasControl entry(first, 0, 0, 10, 10, "");
    entry.takesFocus = true;
    root.GiveFocus(&entry);
    root.dirty = false;
    bool committed = false;
    exDialogFrame::CloseByOk(first, [&] {
        committed = true;
        EXPECT_EQ(root.overlay, nullptr) << "marks and sends come after the dialog is retired";
    });
    EXPECT_TRUE(committed);
    EXPECT_TRUE(root.dirty);
    EXPECT_EQ(root.overlay, nullptr);
    EXPECT_EQ(root.retiredOverlay, first);
    EXPECT_FALSE(firstDeleted) << "never deleted inside its own handler";
    EXPECT_EQ(root.focusedControl, nullptr);
    EXPECT_FALSE(entry.hasFocus);
    first->children->DeleteObject(&entry); // the entry lives on the stack of this test

    auto* second = new TrackedDialog(&root, &secondDeleted);
    exOverlay::Open(&root, second);
    EXPECT_TRUE(firstDeleted) << "the retired dialog goes when the next one opens";
    EXPECT_EQ(second->x, (800 - second->width) / 2);
    EXPECT_EQ(second->y, (600 - second->height) / 2);
    EXPECT_FALSE(secondDeleted);
}

TEST(DialogFrame, ADialogStillOpenGoesWithTheCanvas)
{
    auto* root = new exCanvasControl(nullptr, 0, 0, 0, 0, "");
    bool openDeleted = false, retiredDeleted = false;
    exOverlay::Open(root, new TrackedDialog(root, &retiredDeleted));
    exOverlay::Open(root, new TrackedDialog(root, &openDeleted));
    EXPECT_FALSE(retiredDeleted);
    delete root;
    EXPECT_TRUE(retiredDeleted);
    EXPECT_TRUE(openDeleted);
}
