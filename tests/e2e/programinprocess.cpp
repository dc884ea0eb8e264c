#include "e2e/programinprocess.h"

#include "common/appstate.h"
#include "common/mainframe.h"
#include "common/rackpanel.h"
#include "support/testudp.h"

void ProgramInProcess::StartProgram(const std::string& deviceJson,
                                    const std::vector<std::string>& flags)
{
    ASSERT_TRUE(network.ok());
    ASSERT_TRUE(network.StartSimulator(deviceJson, flags));
    side = std::make_unique<ProgramSide>(network);
    ASSERT_TRUE(side->ok());
    frame = new exMainFrame("Merrow Rigwise 1.16");
    frame->Show();
}

void ProgramInProcess::TearDown()
{
    if (frame)
        frame->Close(true);
    PumpEventsUntil([] { return exAppState::mainFrame == nullptr; }, 3000);
    side.reset();
}

std::vector<exBaseNode*> ProgramInProcess::Devices() const
{
    std::vector<exBaseNode*> devices;
    if (frame)
        frame->rackPanel->CollectDevices(devices, true);
    return devices;
}
