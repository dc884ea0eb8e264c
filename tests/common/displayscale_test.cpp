// The display scale from the screen's resolution, the window's content scale and the desktop's
// text scaling.
#include <gtest/gtest.h>

#include "common/displayscale.h"

TEST(DisplayScale, FollowsTheLogicalResolutionAndTheTextScale)
{
    struct Case {
        const char* what;
        double ppi, contentScale, textScale;
        float scale;
    } const cases[] = {
        {"plain 96 dpi", 96, 1, 1, 0.96f},
        {"200 %: GTK doubles every logical pixel itself", 192, 2, 1, 0.96f},
        {"300 %", 288, 3, 1, 0.96f},
        {"text 150 %", 96, 1, 1.5, 1.44f},
        {"200 % and text 150 %", 192, 2, 1.5, 1.44f},
        {"a 120 dpi screen", 120, 1, 1, 1.2f},
        {"text 125 %", 96, 1, 1.25, 1.2f},
        {"no content scale known", 96, 0, 1, 0.96f},
        {"no text scale known", 96, 1, 0, 0.96f},
        {"no resolution known", 0, 1, 1, 0.96f},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(exDisplayScale::Compute(c.ppi, c.contentScale, c.textScale), c.scale)
            << c.what;
}

TEST(DisplayScale, TextScaleIsTheFontResolutionOverTheLogicalOne)
{
    struct Case {
        double fontResolution, logicalPpi, textScale;
    } const cases[] = {
        {96, 96, 1},  {144, 96, 1.5}, {120, 96, 1.25},
        {192, 96, 2}, {-1, 96, 1}, // nothing set the font resolution
        {0, 96, 1},   {96, 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(exDisplayScale::TextScale(c.fontResolution, c.logicalPpi), c.textScale)
            << c.fontResolution << " over " << c.logicalPpi;
}

TEST(DisplayScale, TheRunningScreenAt96DpiGivesTheDesignedScale)
{
    // The test display runs at 96 dpi, scale 1, no text scaling.
    EXPECT_FLOAT_EQ(exDisplayScale::Measure(), 0.96f);
    EXPECT_FLOAT_EQ(exDisplayScale::Screen(), exDisplayScale::Measure());
}
