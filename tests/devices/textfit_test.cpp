// Texts on the device drawings stay in the places the drawings give them, on every screen: set
// smaller or cut rather than drawn over the next element. Checked on the pixels drawn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <wx/graphics.h>

#include "common/controls/textmeasure.h"
#include "devices/paneldrawing.h"

namespace {

// Measures as if every character were 0.6 em wide and every line 1.2 em high.
class ProportionalMeasurer {
public:
    ProportionalMeasurer()
    {
        SetTextMeasurer([](const wxFont& font, const wxString& text) {
            const double em = font.GetFractionalPointSize();
            return exTextExtent{0.6 * em * double(text.length()), 1.2 * em};
        });
    }
    ~ProportionalMeasurer() { SetTextMeasurer({}); }
};

} // namespace

TEST(TextFitTest, FitTextShrinksInQuarterPointsThenCuts)
{
    ProportionalMeasurer measurer;
    wxGraphicsContext* gc = MeasuringContext();
    ASSERT_NE(gc, nullptr);
    const wxFont font = SwissFont(10);
    // At 10 points a character is 6 wide and a line 12 high.
    struct Case {
        std::vector<wxString> lines;
        double lineStep;
        double boxWidth;
        double boxHeight;
        double points;
        std::vector<wxString> drawn;
        double smallestShare = exPanelDrawing::kSmallestShare;
    } cases[] = {
        {{"Pylon"}, 0, 30, 12, 10, {"Pylon"}},           // fits exactly: as drawn
        {{"Pylon"}, 0, 300, 100, 10, {"Pylon"}},         // never larger
        {{"NodeGamma"}, 0, 45, 12, 8.25, {"NodeGamma"}}, // 45 / 54 of 10 points, a quarter down
        {{"Pylon"}, 0, 30, 9, 7.5, {"Pylon"}},           // too high: 9 / 12
        {{"Pylon", "NodeGamma"}, 15, 45, 40, 8.25, {"Pylon", "NodeGamma"}}, // widest line
        {{"Pylon", "NodeGamma"}, 15, 60, 21, 7.75, {"Pylon", "NodeGamma"}}, // 21 / 27 high
        // Not below 6 points (3.6 a character): cut to what fits with the ellipsis.
        {{"WWWWWWWWWWWWWWWWW"}, 0, 30, 12, 6, {wxString::FromUTF8("WWWWWWW\xE2\x80\xA6")}},
        {{"Pylon", "WWWWWWWWWW"},
         15,
         30,
         40,
         6,
         {"Pylon", wxString::FromUTF8("WWWWWWW\xE2\x80\xA6")}},
        {{"Pylon"}, 0, 3, 12, 6, {""}}, // not even the ellipsis fits
        // Told not below 8 points (4.8 a character).
        {{"WWWWWWWWWWWWWWWWW"}, 0, 30, 12, 8, {wxString::FromUTF8("WWWWW\xE2\x80\xA6")}, 0.8},
    };
    for (const Case& c : cases) {
        const exPanelDrawing::exFittedText fitted = exPanelDrawing::FitText(
            *gc, c.lines, font, *wxWHITE, c.boxWidth, c.boxHeight, c.lineStep, c.smallestShare);
        const std::string name =
            wxString::Format("%s in %g x %g", c.lines.back(), c.boxWidth, c.boxHeight)
                .utf8_string();
        EXPECT_DOUBLE_EQ(fitted.font.GetFractionalPointSize(), c.points) << name;
        EXPECT_EQ(fitted.lines, c.drawn) << name;
        EXPECT_DOUBLE_EQ(fitted.lineStep, c.lineStep * c.points / 10) << name;
        EXPECT_LE(fitted.width, c.boxWidth) << name;
        EXPECT_LE(fitted.height, c.boxHeight) << name;
    }
}
