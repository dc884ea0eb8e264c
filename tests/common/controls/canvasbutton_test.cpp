// Buttons and picture buttons: their looks where colour means something, their hit areas.
#include <memory>

#include <gtest/gtest.h>

#include "common/controls/canvasbitmapbutton.h"
#include "common/controls/canvasbutton.h"
#include "support/canvasevents.h"

namespace {

// 20 x 10, all white.
const char* const kWhitePicture[] = {
    "20 10 1 1",
    "w c #FFFFFF",
    "wwwwwwwwwwwwwwwwwwww", "wwwwwwwwwwwwwwwwwwww", "wwwwwwwwwwwwwwwwwwww",
    "wwwwwwwwwwwwwwwwwwww", "wwwwwwwwwwwwwwwwwwww", "wwwwwwwwwwwwwwwwwwww",
    "wwwwwwwwwwwwwwwwwwww", "wwwwwwwwwwwwwwwwwwww", "wwwwwwwwwwwwwwwwwwww",
    "wwwwwwwwwwwwwwwwwwww",
};
const char* const kBrokenPicture[] = {"not a picture"};

wxColour PixelAt(const wxImage& image, int x, int y)
{
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

} // namespace

TEST(CanvasButton, FillShowsEnabledPressedAndDisabled)
{
    struct Case {
        bool enabled;
        int mouseState;
        wxColour fill;
    } cases[] = {
        {true, 0, wxColour(170, 170, 170)},
        {true, 1, wxColour(170, 170, 170)},
        {true, 2, *wxBLACK},
        {false, 0, wxColour(70, 70, 70)},
        {false, 2, *wxBLACK},
    };
    for (const Case& c : cases) {
        exCanvasControl root(nullptr, 0, 0, 0, 0, "");
        auto* button = new exCanvasButton(&root, 0, 0, 100, 30, "Exit");
        root.children->Append(button);
        button->enabled = c.enabled;
        button->mouseState = c.mouseState;
        const wxImage image = PaintToImage(root, 100, 30);
        EXPECT_EQ(PixelAt(image, 5, 15), c.fill) << c.enabled << " " << c.mouseState;
    }
}

TEST(CanvasButton, LabelIsMeasuredOnlyOnce)
{
    ScopedTextMeasurer measure({});
    exCanvasControl root(nullptr, 0, 0, 0, 0, "");
    auto* button = new exCanvasButton(&root, 0, 0, 100, 30, "Exit");
    root.children->Append(button);
    PaintToImage(root, 100, 30);
    PaintToImage(root, 100, 30);
    EXPECT_EQ(measure.calls, 1);
    EXPECT_EQ(button->labelWidth, 40.0);
}

TEST(CanvasBitmapButton, HitsOnThePictureSizeAndDrawsItScaled)
{
    exCanvasControl root(nullptr, 0, 0, 0, 0, "");
    auto* button = new exCanvasBitmapButton(&root, 0, 0, kWhitePicture);
    root.children->Append(button);
    EXPECT_EQ(wxSize(button->width, button->height), wxSize(20, 10));
    EXPECT_EQ(wxSize(button->drawnWidth, button->drawnHeight), wxSize(19, 9));

    button->SetImageScale(2.5f);
    EXPECT_EQ(wxSize(button->width, button->height), wxSize(50, 25));
    EXPECT_EQ(wxSize(button->drawnWidth, button->drawnHeight), wxSize(48, 24));
    EXPECT_EQ(root.RouteMouse(PressAt(50, 25)), button);
    EXPECT_EQ(root.RouteMouse(PressAt(51, 25)), nullptr);

    // Pressed, the picture is darkened.
    button->mouseState = 2;
    wxImage image = PaintToImage(root, 60, 30);
    const wxColour shaded = PixelAt(image, 10, 10);
    EXPECT_LT(shaded.Red(), 200);
    EXPECT_GT(shaded.Red(), 50);
    button->mouseState = 1;
    image = PaintToImage(root, 60, 30);
    EXPECT_EQ(PixelAt(image, 10, 10), *wxWHITE);
}

TEST(CanvasBitmapButton, BrokenPictureDrawsNothingButKeepsItsDesignHitArea)
{
    exCanvasControl root(nullptr, 0, 0, 0, 0, "");
    auto* button = new exCanvasBitmapButton(&root, 0, 0, kBrokenPicture);
    root.children->Append(button);
    button->SetImageScale(0.5f);
    EXPECT_EQ(wxSize(button->width, button->height), wxSize(38, 19)); // 40 x 20 at 0.96
    button->mouseState = 2;
    const wxImage image = PaintToImage(root, 40, 20);
    EXPECT_EQ(PixelAt(image, 10, 10), *wxWHITE);
    button->mouseState = 0;
    EXPECT_EQ(root.RouteMouse(PressAt(38, 19)), button);
}
