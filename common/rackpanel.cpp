#include "common/rackpanel.h"

#include <algorithm>

#include <wx/graphics.h>

#include "common/appstate.h"
#include "common/controls/canvascontrol.h"
#include "common/rackroot.h"
#include "devices/basenode.h"
#include "net/updateprotocol.h"
#include "net/updatesocket.h"

wxBEGIN_EVENT_TABLE(exRackPanel, exBaseCanvasPanel)
    EVT_TIMER(exRackPanel::kTimerId, exRackPanel::OnTimer)
wxEND_EVENT_TABLE()

exRackPanel::exRackPanel(wxWindow* parent, const wxString& name) : exBaseCanvasPanel(parent, name)
{
    timer = new wxTimer(this, kTimerId);
    Clear();
    SetOrigin(kMargin, kMargin);
    timer->Start(kTickMs, wxTIMER_CONTINUOUS);
}

exRackPanel::~exRackPanel()
{
    timer->Stop();
    delete root;
    root = nullptr;
    delete timer;
}

void exRackPanel::BeforeDraw(wxGraphicsContext* gc)
{
    const wxPoint at = GetOrigin();
    gc->Translate(at.x, at.y);
    // Window row w shows canvas row scroll + (w - origin) / scale.
    const double top = GetScrollPos(wxVERTICAL) - at.y / canvasScale;
    static_cast<exRackRoot*>(root)->SetShownRows(top, top + GetClientSize().y / canvasScale);
}

void exRackPanel::CollectDevices(std::vector<exBaseNode*>& list, bool includeHidden)
{
    list.clear();
    for (exCanvasControl* child : *root->children) {
        if (!includeHidden && child->hidden)
            continue;
        list.push_back(static_cast<exBaseNode*>(child));
    }
}

int exRackPanel::StackedHeight(const std::vector<exBaseNode*>& devices)
{
    int position = 0;
    for (size_t i = 0; i < devices.size(); ++i) {
        if (i > 0)
            position += devices[i]->host ? kModuleGap : kDeviceGap;
        position += devices[i]->height;
    }
    return position;
}

void exRackPanel::PositionDevices()
{
    std::vector<exBaseNode*> devices;
    CollectDevices(devices, false);
    int position = 0;
    for (size_t i = 0; i < devices.size(); ++i) {
        if (i > 0)
            position += devices[i]->host ? kModuleGap : kDeviceGap;
        devices[i]->x = 0;
        devices[i]->y = position;
        position += devices[i]->height;
    }
}

void exRackPanel::Relayout()
{
    std::vector<exBaseNode*> devices;
    CollectDevices(devices, false);
    int totalHeight = 0;
    int widest = 0;
    if (!devices.empty()) {
        totalHeight = kMargin + StackedHeight(devices) + kMargin;
        for (const exBaseNode* device : devices)
            widest = std::max(widest, device->width);
    }
    const int clientWidth = GetClientSize().x;
    // Zoomed up so that the widest device spans the window less the margins; never down.
    canvasScale = (clientWidth > widest && widest > 0)
                      ? (clientWidth - 2.0 * kMargin) / widest
                      : 1.0;
    SetScrollbars(1, 1, 0, ScrollRange(totalHeight, GetClientSize().y), 0, 0, true);
    PositionDevices();
    // Devices have moved: whatever is in view now is drawn anew.
    root->dirty = true;
}

int exRackPanel::ScrollRange(int totalHeight, int clientHeight) const
{
    // The scroll position counts canvas units, while the window shows clientHeight / scale of
    // them: the range ends where the last device's bottom meets the window's bottom, so the
    // view never runs on into empty space below the rack.
    if (totalHeight <= 0)
        return 0;
    const double visibleUnits = clientHeight / canvasScale;
    return std::max(0, int(totalHeight - visibleUnits) + clientHeight);
}

void exRackPanel::Clear()
{
    delete root;
    auto* rackRoot = new exRackRoot;
    rackRoot->relayout = [this] { Relayout(); };
    root = rackRoot;
    elapsed = 0;
}

void exRackPanel::OnTimer(wxTimerEvent&)
{
    Advance(timer->GetInterval());
}

void exRackPanel::Advance(int elapsedMs)
{
    if (root->dirty)
        Refresh(true);
    elapsed += elapsedMs;
    if (elapsed >= kDiscoveryIntervalMs) {
        elapsed = 0;
        if (exAppState::autoScan && exAppState::updateSocket)
            exUpdateProtocol::SendDiscoveryRequest(*exAppState::updateSocket);
    }
    // Devices may be added while they tick (a switch creating its modules): take the list
    // first, then tick each.
    std::vector<exBaseNode*> devices;
    CollectDevices(devices, true);
    for (exBaseNode* device : devices)
        device->Tick(elapsedMs);
}
