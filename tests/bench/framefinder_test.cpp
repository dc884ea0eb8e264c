// The UI probe's view of an open dialog: a white frame 2 pixels wide crossing the window's middle
// column, with edges that close it, found among the rack's own white drawing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/bench/framefinder.h"

namespace {

// A window of the rack's grey where the test paints white.
class Canvas : public FrameFinder::Source {
public:
    Canvas(int width, int height)
        : width_(width), height_(height), white_(size_t(width * height), false)
    {
    }

    void Paint(int x, int y, int width, int height, bool white)
    {
        for (int j = y; j < y + height; ++j)
            for (int i = x; i < x + width; ++i)
                white_[size_t(j * width_ + i)] = white;
    }
    void Fill(int x, int y, int width, int height) { Paint(x, y, width, height, true); }
    // The outline the dialogs draw: 2 pixels wide, (x, y) its outer top left corner.
    void Frame(int x, int y, int width, int height)
    {
        Fill(x, y, width, 2);
        Fill(x, y + height - 2, width, 2);
        Fill(x, y, 2, height);
        Fill(x + width - 2, y, 2, height);
    }

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    FrameFinder::Line Row(int y) override
    {
        return FrameFinder::Line(white_.begin() + y * width_, white_.begin() + (y + 1) * width_);
    }
    FrameFinder::Line Column(int x) override
    {
        FrameFinder::Line line;
        for (int y = 0; y < height_; ++y)
            line.push_back(white_[size_t(y * width_ + x)]);
        return line;
    }

private:
    int width_, height_;
    std::vector<bool> white_;
};

struct Case {
    std::string what;
    std::function<void(Canvas&)> paint;
    bool found;
    FrameFinder::Box box; // when found
};

} // namespace

TEST(FrameFinder, FindsTheCentredDialogFrameAndNothingElse)
{
    const std::vector<Case> cases = {
        {"network settings dialog", [](Canvas& c) { c.Frame(369, 277, 262, 146); }, true,
         {369, 277, 630, 422}},
        {"dialog below white text in the middle column",
         [](Canvas& c) {
             c.Fill(480, 100, 40, 1); // strokes of a label
             c.Fill(499, 96, 2, 12);
             c.Fill(490, 200, 30, 2);  // a short double line
             c.Frame(337, 290, 326, 155);
         },
         true, {337, 290, 662, 444}},
        {"nothing white", [](Canvas&) {}, false, {}},
        {"a long white bar without edges", [](Canvas& c) { c.Fill(200, 300, 600, 2); }, false,
         {}},
        {"an outline open at the bottom",
         [](Canvas& c) {
             c.Fill(369, 277, 262, 2);
             c.Fill(369, 277, 2, 146);
             c.Fill(629, 277, 2, 146);
         },
         false, {}},
        {"an outline whose right edge stops short",
         [](Canvas& c) {
             c.Frame(369, 277, 262, 146);
             c.Paint(629, 340, 2, 10, false);
         },
         false, {}},
        {"a frame too narrow for a dialog", [](Canvas& c) { c.Frame(460, 277, 80, 146); }, false,
         {}},
        {"a frame off the middle column", [](Canvas& c) { c.Frame(40, 277, 262, 146); }, false,
         {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        Canvas canvas(1000, 700);
        test.paint(canvas);
        const FrameFinder::Box box = FrameFinder::Find(canvas);
        ASSERT_EQ(box.found(), test.found);
        if (!test.found)
            continue;
        EXPECT_EQ(box.left, test.box.left);
        EXPECT_EQ(box.top, test.box.top);
        EXPECT_EQ(box.right, test.box.right);
        EXPECT_EQ(box.bottom, test.box.bottom);
    }
}
