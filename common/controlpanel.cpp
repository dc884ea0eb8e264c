#include "common/controlpanel.h"

#include <memory>
#include <vector>

#include <wx/dcmemory.h>
#include <wx/filename.h>
#include <wx/graphics.h>
#include <wx/utils.h>

#include "common/appstate.h"
#include "common/controls/canvasbitmapbutton.h"
#include "common/controls/canvasbutton.h"
#include "common/controls/canvasswitch.h"
#include "common/controls/switchandbutton.h"
#include "common/mainframe.h"
#include "common/rackpanel.h"
#include "common/userguide.h"
#include "devices/basenode.h"
#include "net/artnetprotocol.h"
#include "net/artnetsocket.h"

#include "resources/rigwiselogo.xpm"

namespace {
constexpr float kLogoScale = 0.5f;
constexpr int kRightMargin = 20;
constexpr int kPairGap = 10;
constexpr int kRowTop = 20;
constexpr int kRigButtonWidth = 70;
constexpr int kRigButtonGap = 20;
} // namespace

exControlPanel::exControlPanel(wxWindow* parent) : exBaseCanvasPanel(parent, "Control")
{
    root = new exCanvasControl(nullptr, 0, 0, 0, 0, wxEmptyString);
    SetBackgroundColour(*wxBLACK);
    const float scale = exAppState::scaleFactor;
    SetMinSize(wxSize(int(kMinWidth * scale), int(kHeight * scale)));

    logo = new exCanvasBitmapButton(root, 7, 7, rigwise_logo_xpm);
    logo->SetImageScale(kLogoScale);
    updatePair = new exCanvasSwitchAndButton(root, 529, 20, 220, 20, "Update");
    scanPair = new exCanvasSwitchAndButton(root, 110, 20, 50, 100, "Scan");
    saveRigButton = new exCanvasButton(root, 0, kRowTop, kRigButtonWidth, 20, "Save Rig");
    loadRigButton = new exCanvasButton(root, 0, kRowTop, kRigButtonWidth, 20, "Load Rig");
    exitButton = new exCanvasButton(root, 710, 20, 40, 20, "Exit");
    root->children->Append(logo);
    root->children->Append(scanPair);
    root->children->Append(saveRigButton);
    root->children->Append(loadRigButton);
    root->children->Append(updatePair);
    root->children->Append(exitButton);
    openAddress = [](const wxString& address) { wxLaunchDefaultBrowser(address); };
    MeasureControls();
}

void exControlPanel::MeasureControls()
{
    // The pairs take their width from their texts when first drawn; drawing once off-screen lets
    // the first layout right-align them by their real width instead of their initial one.
    wxBitmap scratch(1, 1);
    wxMemoryDC dc(scratch);
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
    if (gc)
        root->Draw(gc.get());
    root->dirty = false;
}

exControlPanel::~exControlPanel()
{
    delete root;
    root = nullptr;
}

wxString exControlPanel::GuideAddress()
{
    return wxFileName::FileNameToURL(exUserGuide::LocateForThisProgram());
}

void exControlPanel::Relayout()
{
    const float scale = exAppState::scaleFactor;
    const int clientWidth = GetClientSize().x;
    exitButton->y = int(kRowTop * scale);
    exitButton->x = int(clientWidth - exitButton->width - kRightMargin * scale);
    updatePair->y = int(kRowTop * scale);
    updatePair->x = int(exitButton->x - (kPairGap * scale + updatePair->width));
    // The rig buttons follow the scan pair in the free space before the update pair.
    saveRigButton->x = int(scanPair->x + scanPair->width + kRigButtonGap * scale);
    loadRigButton->x = int(saveRigButton->x + saveRigButton->width + kPairGap * scale);
}

void exControlPanel::SetAutoUpdate(bool on)
{
    updatePair->switchControl->on = on;
    updatePair->button->SetEnabled(!on);
    exAppState::autoSend = on ? 1 : 0;
    root->dirty = true;
    Refresh();
}

void exControlPanel::OnControlPressed(exCanvasControl* control)
{
    if (control == updatePair->button) {
        SendPendingChanges();
    } else if (control == updatePair->switchControl) {
        SetAutoUpdate(updatePair->switchControl->on);
    } else if (control == scanPair->button) {
        if (exAppState::artNetSocket)
            exArtNetProtocol::PollAll(*exAppState::artNetSocket);
    } else if (control == scanPair->switchControl) {
        exAppState::autoScan = scanPair->switchControl->on ? 1 : 0;
    } else if (control == saveRigButton) {
        if (saveRig)
            saveRig();
    } else if (control == loadRigButton) {
        if (loadRig)
            loadRig();
    } else if (control == logo) {
        openAddress(GuideAddress());
    } else if (control == exitButton) {
        if (exAppState::mainFrame)
            exAppState::mainFrame->ExitProgram();
    }
}

void exControlPanel::SendPendingChanges()
{
    if (!exAppState::mainFrame || !exAppState::mainFrame->rackPanel)
        return;
    std::vector<exBaseNode*> devices;
    exAppState::mainFrame->rackPanel->CollectDevices(devices, false);
    for (exBaseNode* device : devices) {
        if (!device->modified)
            continue;
        device->ProgramAll();
        device->SetDirty();
    }
}
