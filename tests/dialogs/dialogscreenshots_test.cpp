// Not run by default: shows each of the DMX port and network settings dialogs over a rack and
// saves the whole screen, to look at. Run one with --gtest_also_run_disabled_tests under Xvfb;
// the pictures go to $RIGWISE_SHOT_DIR (default /tmp).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <wx/frame.h>

#include "common/rackpanel.h"
#include "devices/basenode.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "devices/modelcatalogue.h"
#include "devices/nodedelta.h"
#include "discovery/localadapters.h"
#include "support/testudp.h"

namespace {

class DialogScreenshots : public testing::Test {
protected:
    void SetUp() override
    {
        exLocalAdapters::Instance().Build({{0x0A000001, 0xFF000000}});
        frame = new wxFrame(nullptr, wxID_ANY, "Merrow Rigwise");
        rack = new exRackPanel(frame, "Rack");
        rack->timer->Stop();
        frame->SetClientSize(1040, 700);
        frame->Move(0, 0);
        frame->Show();
        device = exModelCatalogue::Create(exNodeDelta::kModelCode, rack->root);
        device->network.currentIp = 0x0A000005;
        device->network.currentMask = 0xFF000000;
        device->ethernetPort1->RebuildTexts();
        device->deviceName = "Stage left";
        device->OnAlive();
        for (size_t i = 0; i < device->dmxPorts.size(); ++i)
            device->dmxPorts[i]->SetUniverseCode(uint16_t(0x0200 + i));
        rack->root->children->Append(device);
        rack->PositionDevices();
        rack->Relayout();
        PumpEventsFor(100);
    }

    void TearDown() override
    {
        frame->Destroy();
        PumpEventsFor(20);
        exLocalAdapters::Instance().Build({});
    }

    void Shoot(exCanvasControl* element, const std::string& name)
    {
        element->OnClick(element, 0, 0);
        rack->Refresh();
        PumpEventsFor(300);
        const char* dir = std::getenv("RIGWISE_SHOT_DIR");
        const std::string path = std::string(dir ? dir : "/tmp") + "/" + name + ".png";
        const std::string command = "xwd -root -display \"$DISPLAY\" | convert xwd:- " + path;
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }

    wxFrame* frame = nullptr;
    exRackPanel* rack = nullptr;
    exBaseNode* device = nullptr;
};

} // namespace

TEST_F(DialogScreenshots, DISABLED_DMXPortDialog)
{
    Shoot(device->dmxPorts[2], "dlg-dmx");
}

TEST_F(DialogScreenshots, DISABLED_DMXPortDialogWithOptionFlag)
{
    Shoot(device->dmxPorts[8], "dlg-dmx-option");
}

TEST_F(DialogScreenshots, DISABLED_EthernetPortDialog)
{
    Shoot(device->ethernetPort1, "dlg-ethernet");
}
