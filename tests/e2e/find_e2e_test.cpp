// The built program against 300 simulated devices, driven with real key presses: a device found
// by its address is brought into view and outlined, and F8 brings a device that went lost into
// view; both checked on the screen.
#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>
#include <set>
#include <string>

#include "e2e/rigwiseui.h"
#include "e2e/screen.h"
#include "support/simnetwork.h"

using rigwiseui::kWindowHeight;
using rigwiseui::kWindowWidth;

namespace {

// The device looked for: a Sprite (its light grey box stands out among the black NodeBetas),
// silent at first so that it comes into the rack after the 299 others, at its end.
const char kSpriteFirst[] = R"({"devices": [
  {"model": "0x0107", "unit": 500, "ip": "10.202.3.77", "mask": "255.255.0.0", "name": "Sprite",
   "stopped": true}
]})";
const Rgb kOutline{255, 190, 0};
const Rgb kSpriteFace{200, 200, 200};
const Rgb kScreenBlue{30, 175, 250};
const Rgb kRackBackground{70, 70, 70};
constexpr int kControlBarHeight = 57;
constexpr int kFindBarHeight = 28; // 30 units

void SleepMs(int ms)
{
    usleep(useconds_t(ms) * 1000);
}

// The outline's extent on the screen, and what is inside it.
struct Outline {
    int left = kWindowWidth, top = kWindowHeight, right = -1, bottom = -1;
    bool found() const { return right >= 0; }
    int Count(const Shot& shot, const Rgb& colour) const
    {
        int count = 0;
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                count += shot.At(x, y) == colour;
        return count;
    }
};

Outline FindOutline(const Shot& shot)
{
    Outline outline;
    for (int y = 0; y < kWindowHeight; ++y)
        for (int x = 0; x < kWindowWidth; ++x)
            if (shot.At(x, y) == kOutline) {
                outline.left = std::min(outline.left, x);
                outline.top = std::min(outline.top, y);
                outline.right = std::max(outline.right, x);
                outline.bottom = std::max(outline.bottom, y);
            }
    return outline;
}

// The last row of the rack above the status line: its background runs down the left margin.
int RackBottom(const Shot& shot)
{
    int y = kControlBarHeight + kFindBarHeight + 1;
    while (y < kWindowHeight && shot.At(3, y) == kRackBackground)
        ++y;
    return y - 1;
}

size_t DevicesAskedForSettings(const SimNetwork& network)
{
    std::set<std::string> asked;
    for (const SimNetwork::Record& record : network.Received())
        if (record.port == 6517)
            asked.insert(record.destination);
    return asked.size();
}

} // namespace

TEST(FindEndToEnd, ADeviceFoundByItsAddressAndALostOneReachedWithF8AreShownOutlined)
{
    SimNetwork network;
    ASSERT_TRUE(network.ok());
    ASSERT_TRUE(network.StartSimulator(kSpriteFirst, {"--generate", "299", "--model", "0x0103"}));
    rigwiseui::Program program(network);
    ASSERT_TRUE(program.ok()) << "no program window with its control bar";
    for (int waited = 0; waited < 30000 && DevicesAskedForSettings(network) < 299; waited += 200)
        SleepMs(200);
    ASSERT_EQ(DevicesAskedForSettings(network), 299u) << "the generated rack was not found";
    EXPECT_EQ(network.Control("resume 0"), "ok");
    for (int waited = 0; waited < 5000 && DevicesAskedForSettings(network) < 300; waited += 100)
        SleepMs(100);
    ASSERT_EQ(DevicesAskedForSettings(network), 300u) << "the Sprite was not found";
    SleepMs(500);

    xscreen::Key("ctrl+f");
    xscreen::Type("10.202.3.77");
    program.Screenshot("find-by-address");
    Shot shot = xscreen::Capture();
    Outline outline = FindOutline(shot);
    ASSERT_TRUE(outline.found()) << "no outline";
    EXPECT_GT(outline.top, kControlBarHeight + kFindBarHeight) << "under the find entry";
    EXPECT_LT(outline.bottom, RackBottom(shot)) << "below the rack's view";
    EXPECT_GT(outline.Count(shot, kSpriteFace), 1000) << "not the Sprite";

    // The device that goes lost answered first: it stands near the rack's top, far from here.
    xscreen::Key("Escape");
    EXPECT_EQ(network.Control("stop 1"), "ok");
    // Until it is lost, nothing needs attention and F8 leaves the view without an outline.
    SleepMs(200);
    shot = xscreen::Capture();
    EXPECT_FALSE(FindOutline(shot).found()) << "Escape left the outline";
    for (int waited = 0; waited < 12000 && !FindOutline(shot).found(); waited += 500) {
        SleepMs(500);
        xscreen::Key("F8");
        SleepMs(100);
        shot = xscreen::Capture();
    }
    program.Screenshot("attention-lost");
    outline = FindOutline(shot);
    ASSERT_TRUE(outline.found()) << "F8 went nowhere";
    EXPECT_GT(outline.top, kControlBarHeight);
    EXPECT_LT(outline.bottom, RackBottom(shot));
    // A few pixels of the lost device's text may come out in the Sprite's grey.
    EXPECT_LT(outline.Count(shot, kSpriteFace), 100) << "F8 stayed on the Sprite";
    EXPECT_EQ(outline.Count(shot, kScreenBlue), 0) << "the device's display is not shaded";
}
