// The port and front-panel elements of a device: the texts they show, the red of a pending
// change, and the dialog a click hangs over the rack.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "devices/basenode.h"
#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "devices/switchport.h"
#include "support/canvasevents.h"

namespace {

// Stands in for a settings dialog: a fixed-size control that counts its deletions.
class FakeDialog : public exCanvasControl {
public:
    FakeDialog(exCanvasControl* root, int* deaths)
        : exCanvasControl(root, 0, 0, 0, 0, "dialog"), deaths(deaths)
    {
        width = 200;
        height = 100;
    }
    ~FakeDialog() override { ++*deaths; }
    int* deaths;
};

class DialogPort : public exDMXPort {
public:
    DialogPort(exBaseNode* device, int* deaths) : exDMXPort(device, 0), deaths(deaths) {}
    exCanvasControl* CreateDialog(exCanvasControl* root) override
    {
        opened = new FakeDialog(root, deaths);
        return opened;
    }
    int* deaths;
    exCanvasControl* opened = nullptr;
};

struct ElementsTest : testing::Test {
    ElementsTest() : root(nullptr, 0, 0, 0, 0, wxEmptyString)
    {
        device = new exBaseNode(&root, 0);
        root.children->Append(device);
    }
    exCanvasControl root;
    exBaseNode* device;
};

} // namespace

TEST_F(ElementsTest, SwitchPortStatusAndVlanLines)
{
    exSwitchPort port(device, 0);
    struct Case {
        int mode;
        int partner;
        bool trunkCapable;
        const char* status;
        const char* vlan;
    } cases[] = {
        {2, 5, true, "Loop 5", ""},  {2, 0, true, "Trunk", ""},    {1, 0, true, "Normal", "12"},
        {1, 0, false, "Normal", ""}, {3, 0, true, "Filter", "12"}, {0, 0, true, "", ""},
    };
    for (const Case& c : cases) {
        port.mode = c.mode;
        port.loopPartner = c.partner;
        port.vlan = 12;
        port.trunkCapable = c.trunkCapable;
        EXPECT_EQ(port.GetStatusText(), c.status) << c.mode << "/" << c.partner;
        EXPECT_EQ(port.GetVlanText(), c.vlan) << c.mode << "/" << c.trunkCapable;
    }
}

TEST_F(ElementsTest, SwitchPortCarriesPartnerOfALoopAndVlanOtherwise)
{
    exSwitchPort port(device, 3);
    port.SetFromWire(2, 7, 2);
    EXPECT_EQ(port.loopPartner, 7);
    EXPECT_EQ(port.vlan, 1);
    EXPECT_EQ(port.speed, 2);
    EXPECT_EQ(port.GetWireValue(), 7);
    port.SetFromWire(1, 300, 0);
    EXPECT_EQ(port.loopPartner, 7);
    EXPECT_EQ(port.speed, 0);
    EXPECT_EQ(port.GetWireValue(), 300);
    EXPECT_EQ(port.label, "4");
}

TEST_F(ElementsTest, DisplayTexts)
{
    exCanvasUIControl* display = device->frontPanel;
    device->deviceName = "ABCDEFGHIJKLMNOPQRST";
    EXPECT_EQ(display->GetShownName(), "ABCDEFGHIJKLMNOPQ");
    device->deviceId = 0;
    EXPECT_EQ(display->GetIdText(), "ID: -");
    device->deviceId = 12;
    EXPECT_EQ(display->GetIdText(), "ID: 12");
    struct Case {
        int code;
        const char* large;
        const char* small;
    } cases[] = {{0, "", ""},
                 {1, "Display: Always On", "Display: On"},
                 {2, "Display: 5 seconds", "Display: 5 sec"},
                 {3, "", ""},
                 {4, "", ""},
                 {5, "Display: 1 minute", "Display: 1 min"}};
    for (const Case& c : cases) {
        device->displayTimeout = c.code;
        EXPECT_EQ(display->GetTimeoutText(false), c.large) << c.code;
        EXPECT_EQ(display->GetTimeoutText(true), c.small) << c.code;
    }
}

TEST_F(ElementsTest, DisplaySizeFollowsThePanelStyle)
{
    struct Case {
        int style;
        int width;
        int height;
    } cases[] = {{0, 20, 20}, {1, 285, 40}, {2, 180, 40}, {3, 120, 50}};
    for (const Case& c : cases) {
        device->panelStyle = c.style;
        PaintToImage(*device->frontPanel, 300, 60);
        EXPECT_EQ(device->frontPanel->width, int(c.width * device->displayScale)) << c.style;
        EXPECT_EQ(device->frontPanel->height, int(c.height * device->displayScale)) << c.style;
    }
}

TEST_F(ElementsTest, ClickHangsTheDialogCentredAndRetiresTheOneBefore)
{
    root.clientWidth = 801;
    root.clientHeight = 600;
    int deaths = 0;
    DialogPort* port = new DialogPort(device, &deaths);
    device->children->Append(port);
    device->dmxPorts.push_back(port);
    port->state.Read();

    EXPECT_FALSE(port->OnClick(port, 5, 5));
    exCanvasControl* first = port->opened;
    EXPECT_EQ(root.overlay, first);
    EXPECT_EQ(first->x, (801 - 200) / 2);
    EXPECT_EQ(first->y, 250);

    port->OnClick(port, 5, 5);
    exCanvasControl* second = port->opened;
    EXPECT_EQ(root.overlay, second);
    EXPECT_EQ(root.retiredOverlay, first);
    EXPECT_EQ(deaths, 0);

    port->OnClick(port, 5, 5);
    EXPECT_EQ(root.retiredOverlay, second);
    EXPECT_EQ(deaths, 1);
    delete root.overlay;
    root.overlay = nullptr;
}

TEST_F(ElementsTest, PendingChangesShowInRedExceptUnderThePointer)
{
    auto redPixels = [](const wxImage& image) {
        int count = 0;
        for (int y = 0; y < image.GetHeight(); ++y)
            for (int x = 0; x < image.GetWidth(); ++x)
                if (image.GetRed(x, y) > 200 && image.GetGreen(x, y) < 60 &&
                    image.GetBlue(x, y) < 60)
                    ++count;
        return count;
    };
    exSwitchPort* port = new exSwitchPort(device, 0);
    device->children->Append(port);
    device->panelStyle = 3;
    struct Case {
        bool modified;
        int mouse;
        bool red;
    } cases[] = {{false, 0, false}, {true, 0, true}, {true, 1, false}};
    for (const Case& c : cases) {
        for (exSettingState* state : {&port->state, &device->frontPanel->state})
            c.modified ? state->Edit() : state->Sent();
        port->mouseState = c.mouse;
        device->frontPanel->mouseState = c.mouse;
        EXPECT_EQ(redPixels(PaintToImage(*port, 60, 80)) > 5, c.red) << c.modified << c.mouse;
        EXPECT_EQ(redPixels(PaintToImage(*device->frontPanel, 130, 60)) > 100, c.red)
            << c.modified << c.mouse;
    }
}
