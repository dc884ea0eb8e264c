// Texts on the device drawings stay in the places the drawings give them, on every screen: set
// smaller or cut rather than drawn over the next element. Checked on the pixels drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/image.h>

#include "common/controls/textmeasure.h"
#include "common/displayscale.h"
#include "devices/canvasuicontrol.h"
#include "devices/displaytimeout.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "devices/nodealpha.h"
#include "devices/nodebeta.h"
#include "devices/nodedelta.h"
#include "devices/nodeepsilon.h"
#include "devices/nodegamma.h"
#include "devices/nodezeta.h"
#include "devices/paneldrawing.h"
#include "devices/sprite.h"
#include "devices/storeeta.h"
#include "devices/switchiota.h"
#include "devices/switchkappa.h"
#include "devices/switchport.h"
#include "devices/switchtheta.h"
#include "support/readback.h"

namespace {

// A screen the program may run on: its logical resolution, the desktop's text scaling and the
// device pixels per logical pixel (2 at 200 %, where GTK doubles every pixel itself).
struct Screen {
    const char* name;
    double ppi;
    double textScale;
    double devicePixels;
};

const Screen kScreens[] = {
    {"100 %", 96, 1, 1},    {"200 %", 96, 1, 2},    {"text 150 %", 96, 1.5, 1},
    {"192 dpi", 192, 1, 1}, {"100 dpi", 100, 1, 1}, {"192 dpi, text 150 %", 192, 1.5, 1},
};

const wxColour kBackground(0, 128, 128);

// Which pixels of a picture something was drawn on.
class Mask {
public:
    Mask(int width, int height) : width(width), height(height), set(size_t(width * height)) {}

    // The pixels where two pictures of one size differ.
    static Mask Differing(const wxImage& a, const wxImage& b)
    {
        Mask mask(a.GetWidth(), a.GetHeight());
        const unsigned char* first = a.GetData();
        const unsigned char* second = b.GetData();
        for (int i = 0; i < mask.width * mask.height; ++i, first += 3, second += 3)
            if (first[0] != second[0] || first[1] != second[1] || first[2] != second[2])
                mask.Set(i % mask.width, i / mask.width);
        return mask;
    }

    // The pixels not in the background colour.
    static Mask Drawn(const wxImage& image)
    {
        Mask mask(image.GetWidth(), image.GetHeight());
        const unsigned char* pixel = image.GetData();
        for (int i = 0; i < mask.width * mask.height; ++i, pixel += 3)
            if (pixel[0] != kBackground.Red() || pixel[1] != kBackground.Green() ||
                pixel[2] != kBackground.Blue())
                mask.Set(i % mask.width, i / mask.width);
        return mask;
    }

    void Set(int x, int y)
    {
        set[size_t(y * width + x)] = true;
        bounds = bounds.IsEmpty() ? wxRect(x, y, 1, 1) : bounds.Union(wxRect(x, y, 1, 1));
    }
    bool At(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < width && y < height && set[size_t(y * width + x)];
    }
    bool Empty() const { return bounds.IsEmpty(); }
    // The smallest rectangle holding every pixel; empty when there is none.
    const wxRect& Bounds() const { return bounds; }

    // Pixels of this mask that are in `other` or, with a reach of 1, next to one of its pixels.
    int Touching(const Mask& other, int reach = 1) const
    {
        const wxRect near = bounds.Intersect(wxRect(other.bounds).Inflate(reach));
        int count = 0;
        for (int y = near.GetTop(); y <= near.GetBottom(); ++y)
            for (int x = near.GetLeft(); x <= near.GetRight(); ++x)
                if (At(x, y) && NearAny(other, x, y, reach))
                    ++count;
        return count;
    }

    // Pixels of this mask outside `area`, widened by a pixel for the edge of a letter.
    int Outside(const wxRect& area) const
    {
        const wxRect widened = wxRect(area).Inflate(1);
        int count = 0;
        for (int y = bounds.GetTop(); y <= bounds.GetBottom(); ++y)
            for (int x = bounds.GetLeft(); x <= bounds.GetRight(); ++x)
                if (At(x, y) && !widened.Contains(x, y))
                    ++count;
        return count;
    }

    int width;
    int height;

private:
    static bool NearAny(const Mask& other, int x, int y, int reach)
    {
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx)
                if (other.At(x + dx, y + dy))
                    return true;
        return false;
    }

    std::vector<bool> set;
    wxRect bounds;
};

// What `paint` draws on `width` x `height` logical pixels of `screen`, on the background colour.
wxImage Picture(const Screen& screen, int width, int height,
                const std::function<void(wxGraphicsContext*)>& paint)
{
    wxBitmap bitmap(int(width * screen.devicePixels), int(height * screen.devicePixels), 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(wxBrush(kBackground));
        dc.Clear();
        std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
        gc->Scale(screen.devicePixels, screen.devicePixels);
        paint(gc.get());
    }
    return bitmap.ConvertToImage();
}

// A design-unit rectangle in the device pixels of a drawing at `scale`.
wxRect InPixels(const wxRect2DDouble& box, double scale)
{
    return wxRect(wxPoint(int(box.m_x * scale), int(box.m_y * scale)),
                  wxPoint(int((box.m_x + box.m_width) * scale) - 1,
                          int((box.m_y + box.m_height) * scale) - 1));
}

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

// A model drawn without its title, to tell the title's pixels from everything else's.
template <class Model> class Untitled : public Model {
public:
    using Model::Model;
    void PaintTitle(wxGraphicsContext*) override {}
};

// Every element text at its longest: the name the display shows at its longest, every DMX port
// on a five-digit universe, switch ports in loops with a two-digit partner and on five-digit
// VLANs, the widest address and mask.
void ShowLongestTexts(exBaseNode* device)
{
    device->deviceName = wxString('W', exCanvasUIControl::kShownNameLength);
    device->locked = true;
    device->deviceId = 999;
    device->displayTimeout = exDisplayTimeout::kFiveSeconds;
    device->network.currentIp = 0xFFFFFFFF;
    device->network.currentMask = 0xFFFFFFFF;
    device->ethernetPort1->RebuildTexts();
    for (exDMXPort* port : device->dmxPorts) {
        port->mode = exDMXPort::kOutput;
        port->SetUniverseCode(0x0300 + 63999);
    }
    for (size_t i = 0; i < device->switchPorts.size(); ++i) {
        exSwitchPort* port = device->switchPorts[i];
        port->SetFromWire(i % 2 ? exSwitchPort::kFilter : exSwitchPort::kTrunkOrLoop,
                          i % 2 ? 65535 : 18, 0);
    }
    MarkReadBack(*device); // drawn with its values, not as not read
}

struct Model {
    const char* name;
    std::function<exBaseNode*(exCanvasControl* root, bool titled)> make;
};

template <class Kind> exBaseNode* Make(exCanvasControl* root, bool titled)
{
    return titled ? static_cast<exBaseNode*>(new Kind(root)) : new Untitled<Kind>(root);
}

exBaseNode* MakeKappa18(exCanvasControl* root, bool titled)
{
    auto* kappa = static_cast<exSwitchKappa*>(Make<exSwitchKappa>(root, titled));
    kappa->SetSwitchPortCount(18);
    return kappa;
}

const Model kModels[] = {
    {"NodeBeta", Make<exNodeBeta>},       {"NodeGamma", Make<exNodeGamma>},
    {"Sprite", Make<exSprite>},           {"NodeDelta", Make<exNodeDelta>},
    {"NodeEpsilon", Make<exNodeEpsilon>}, {"NodeZeta", Make<exNodeZeta>},
    {"NodeAlpha", Make<exNodeAlpha>},     {"StoreEta", Make<exStoreEta>},
    {"SwitchTheta", Make<exSwitchTheta>}, {"SwitchKappa 10", Make<exSwitchKappa>},
    {"SwitchKappa 18", MakeKappa18},      {"SwitchIota", Make<exSwitchIota>},
};

// The device's faces with every element on them, as the rack draws a device it can reach.
wxImage DeviceWithElements(const Screen& screen, exBaseNode* device)
{
    return Picture(screen, device->width, device->height, [&](wxGraphicsContext* gc) {
        device->Paint(gc);
        device->exCanvasControl::DrawChildren(gc);
    });
}

// The pixels of `image` not in the colour most of `box` shows, the face the title is drawn on:
// the elements, the edges and whatever lies off the face.
Mask NotFace(const wxImage& image, const wxRect& box)
{
    auto colourAt = [&](int x, int y) {
        const unsigned char* pixel = image.GetData() + 3 * (y * image.GetWidth() + x);
        return pixel[0] << 16 | pixel[1] << 8 | pixel[2];
    };
    std::map<int, int> counts;
    for (int y = box.GetTop(); y <= box.GetBottom(); ++y)
        for (int x = box.GetLeft(); x <= box.GetRight(); ++x)
            ++counts[colourAt(x, y)];
    const int face = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                         return a.second < b.second;
                     })->first;
    Mask mask(image.GetWidth(), image.GetHeight());
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
            if (colourAt(x, y) != face)
                mask.Set(x, y);
    return mask;
}

// Runs `check` for every model on every screen, each time on a root of its own.
void ForEveryModelOnEveryScreen(
    const std::function<void(const Screen&, const Model&, exCanvasControl&)>& check)
{
    for (const Screen& screen : kScreens) {
        exScopedScreen scoped(screen.ppi, screen.textScale);
        for (const Model& model : kModels) {
            SCOPED_TRACE(std::string(model.name) + " on " + screen.name);
            exCanvasControl root(nullptr, 0, 0, 0, 0, wxEmptyString);
            check(screen, model, root);
        }
    }
}

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

TEST(TextFitTest, EveryTitleStaysInItsBoxClearOfTheElements)
{
    ForEveryModelOnEveryScreen([](const Screen& screen, const Model& model, exCanvasControl& root) {
        std::unique_ptr<exBaseNode> titled(model.make(&root, true));
        std::unique_ptr<exBaseNode> untitled(model.make(&root, false));
        ShowLongestTexts(titled.get());
        ShowLongestTexts(untitled.get());
        const wxImage with = DeviceWithElements(screen, titled.get());
        const wxImage without = DeviceWithElements(screen, untitled.get());
        const Mask title = Mask::Differing(with, without);
        const double scale = titled->displayScale * screen.devicePixels;
        const wxRect box = InPixels(titled->titleBox, scale);

        ASSERT_FALSE(title.Empty()) << "the title is drawn";
        EXPECT_EQ(title.Outside(box), 0)
            << "title drawn over " << title.Bounds().GetLeft() << ".." << title.Bounds().GetRight()
            << " x " << title.Bounds().GetTop() << ".." << title.Bounds().GetBottom()
            << ", its box is " << box.GetLeft() << ".." << box.GetRight() << " x " << box.GetTop()
            << ".." << box.GetBottom();
        const Mask elsewhere = NotFace(without, box);
        EXPECT_EQ(title.Touching(elsewhere), 0)
            << "title pixels on or next to an element, an edge or off the face";
        // Still legible: the smallest titles' letters keep 5 units at the smallest share.
        EXPECT_GE(title.Bounds().GetHeight(), int(5 * scale)) << "title squeezed";
    });
}

TEST(TextFitTest, NoTwoElementsOfAModelDrawOnEachOther)
{
    ForEveryModelOnEveryScreen([](const Screen& screen, const Model& model, exCanvasControl& root) {
        std::unique_ptr<exBaseNode> device(model.make(&root, true));
        ShowLongestTexts(device.get());
        struct Ink {
            wxString element;
            Mask mask;
        };
        std::vector<Ink> inks;
        for (exCanvasControl* child : *device->children) {
            Mask mask = Mask::Drawn(Picture(screen, device->width, device->height,
                                            [&](wxGraphicsContext* gc) { child->Draw(gc); }));
            if (mask.Empty())
                continue;
            wxString element = child == device->frontPanel ? "the front panel" : "sockets";
            if (auto* port = dynamic_cast<exDMXPort*>(child))
                element = wxString::Format("DMX port %d", port->portNumber + 1);
            else if (auto* port = dynamic_cast<exSwitchPort*>(child))
                element = "switch port " + port->label;
            inks.push_back({element, std::move(mask)});
        }
        // On the same pixels: neighbouring connectors may come within a pixel where the
        // scale rounds their places.
        for (size_t i = 0; i < inks.size(); ++i)
            for (size_t j = i + 1; j < inks.size(); ++j)
                EXPECT_EQ(inks[i].mask.Touching(inks[j].mask, 0), 0)
                    << inks[i].element << " runs into " << inks[j].element;
    });
}

TEST(TextFitTest, DisplayTextsStayOnTheScreenAndApart)
{
    struct Style {
        int style;
        wxRect2DDouble screen; // in the display's design units
    } styles[] = {{exCanvasUIControl::kLargeDisplay, {0, 2, 130, 36}},
                  {exCanvasUIControl::kSmallDisplay, {0, 0, 75, 50}}};
    for (const Screen& screen : kScreens) {
        exScopedScreen scoped(screen.ppi, screen.textScale);
        for (const Style& style : styles) {
            SCOPED_TRACE(std::string(screen.name) + ", display style " +
                         std::to_string(style.style));
            exCanvasControl root(nullptr, 0, 0, 0, 0, wxEmptyString);
            exBaseNode device(&root, 0);
            device.panelStyle = style.style;
            MarkReadBack(device); // its display shows what was read, not "Not read yet"
            exCanvasUIControl& panel = *device.frontPanel;
            const int margin = 20;
            panel.x = margin;
            panel.y = margin;
            auto picture = [&](const wxString& name, bool locked, int id, int timeout,
                               const wxString& line2) {
                device.deviceName = name;
                device.locked = locked;
                device.deviceId = id;
                device.displayTimeout = timeout;
                device.displayLine2 = line2;
                return Picture(screen, margin + int(200 * device.displayScale),
                               margin + int(60 * device.displayScale),
                               [&](wxGraphicsContext* gc) { panel.Draw(gc); });
            };
            const wxString longest('W', exCanvasUIControl::kShownNameLength);
            const int timeout = exDisplayTimeout::kFiveSeconds;
            const wxImage full = picture(longest, true, 999, timeout, "Ready");
            const wxImage noName = picture("", true, 999, timeout, "Ready");
            const wxImage noNameUnlocked = picture("", false, 999, timeout, "Ready");
            const wxImage noNameNoId = picture("", true, 0, timeout, "Ready");
            const wxImage blank = picture("", false, 0, -1, "");

            const double scale = device.displayScale * screen.devicePixels;
            wxRect2DDouble onScreen = style.screen;
            onScreen.m_x += margin / device.displayScale;
            onScreen.m_y += margin / device.displayScale;
            EXPECT_EQ(Mask::Differing(full, blank).Outside(InPixels(onScreen, scale)), 0)
                << "text drawn off the screen";
            const Mask locked = Mask::Differing(noName, noNameUnlocked);
            ASSERT_FALSE(locked.Empty());
            EXPECT_EQ(Mask::Differing(full, noName).Touching(locked), 0)
                << "the name runs into \"Locked\"";
            EXPECT_EQ(Mask::Differing(noName, noNameNoId).Touching(locked), 0)
                << "the ID runs into \"Locked\"";
        }
    }
}
