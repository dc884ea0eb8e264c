#include "common/rackpanel.h"

#include <algorithm>
#include <cmath>

#include <wx/graphics.h>

#include "common/appstate.h"
#include "common/controls/canvascontrol.h"
#include "common/controls/findentry.h"
#include "common/controls/keys.h"
#include "common/rack/attention.h"
#include "common/rack/findbar.h"
#include "common/rackroot.h"
#include "devices/basenode.h"
#include "net/updateprotocol.h"
#include "net/updatesocket.h"

namespace {
// Space kept between a device brought into view and the edges of the view, in window pixels.
constexpr int kViewGap = 10;
} // namespace

wxBEGIN_EVENT_TABLE(exRackPanel, exBaseCanvasPanel)
    EVT_TIMER(exRackPanel::kTimerId, exRackPanel::OnTimer) wxEND_EVENT_TABLE()

        exRackPanel::exRackPanel(wxWindow* parent, const wxString& name)
    : exBaseCanvasPanel(parent, name)
{
    timer = new wxTimer(this, kTimerId);
    findBar = new exFindBar;
    findBar->hidden = true;
    findBar->entry->edited = [this] { OnFindEdited(); };
    Clear();
    SetOrigin(kMargin, kMargin);
    timer->Start(kTickMs, wxTIMER_CONTINUOUS);
}

exRackPanel::~exRackPanel()
{
    timer->Stop();
    delete root;
    root = nullptr;
    delete findBar;
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
    list.reserve(root->children->GetCount());
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
    canvasScale =
        (clientWidth > widest && widest > 0) ? (clientWidth - 2.0 * kMargin) / widest : 1.0;
    rackHeight = totalHeight;
    ApplyScrollRange(0);
    PositionDevices();
    // Devices have moved: whatever is in view now is drawn anew.
    root->dirty = true;
    // The view went back to the top: the current match is brought back.
    if (FindIsOpen())
        RefreshFind(true);
}

void exRackPanel::ApplyScrollRange(int position)
{
    const int room = rackHeight > 0 ? int(std::ceil(topRoom / canvasScale)) : 0;
    SetScrollbars(1, 1, 0, ScrollRange(rackHeight + room, GetClientSize().y), 0, position, true);
}

void exRackPanel::SetTopRoom(int pixels)
{
    // The rack moves down by the room while the view moves down as far: nothing on screen moves.
    const int shift = int(std::lround((pixels - topRoom) / canvasScale));
    const int position = std::max(0, GetScrollPos(wxVERTICAL) + shift);
    topRoom = pixels;
    SetOrigin(kMargin, kMargin + topRoom);
    ApplyScrollRange(position);
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
    // The matches went with the old rack: the text is matched against the new one.
    if (FindIsOpen())
        OnFindEdited();
}

void exRackPanel::OnTimer(wxTimerEvent&)
{
    Advance(timer->GetInterval());
}

void exRackPanel::Advance(int elapsedMs)
{
    RackRoot()->AdvanceClock(elapsedMs);
    if (NeedsRepaint())
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
    // Devices are renamed, readdressed and found while the entry is open.
    if (FindIsOpen())
        RefreshFind(false);
}

bool exRackPanel::NeedsRepaint() const
{
    // A closed bar is not drawn, so nothing clears its mark.
    return root->dirty || (FindIsOpen() && findBar->dirty);
}

exRackRoot* exRackPanel::RackRoot() const
{
    return static_cast<exRackRoot*>(root);
}

std::vector<exBaseNode*> exRackPanel::VisibleDevices()
{
    std::vector<exBaseNode*> devices;
    CollectDevices(devices, false);
    return devices;
}

void exRackPanel::AfterDraw(wxGraphicsContext* gc)
{
    if (!FindIsOpen())
        return;
    findBar->width = GetClientSize().x;
    // While a dialog is open the keys are its own: the entry is drawn without the focus frame.
    findBar->entry->hasFocus = !root->overlay;
    findBar->Draw(gc);
}

bool exRackPanel::TakesMouse(const wxMouseEvent& event)
{
    return FindIsOpen() && event.GetY() < findBar->height;
}

void exRackPanel::OnWindowKey(wxKeyEvent& event)
{
    if (root->overlay || !HandleKey(event.GetKeyCode(), event.GetModifiers())) {
        event.Skip();
        return;
    }
    if (NeedsRepaint())
        Refresh(true);
}

bool exRackPanel::HandleKey(int code, int modifiers)
{
    const bool plain = modifiers == wxMOD_NONE;
    const int direction = modifiers == wxMOD_SHIFT ? -1 : 1;
    if (code == 'F' && modifiers == wxMOD_CONTROL) {
        OpenFind();
        return true;
    }
    if (code == WXK_F8 && (plain || modifiers == wxMOD_SHIFT)) {
        JumpToAttention(direction);
        return true;
    }
    if (FindIsOpen())
        return HandleFindKey(code, modifiers);
    if (plain && (code == '/' || code == WXK_NUMPAD_DIVIDE)) {
        OpenFind();
        return true;
    }
    // Escape also takes away the outline an attention jump left.
    if (plain && code == WXK_ESCAPE && RackRoot()->outlined) {
        HideOutline();
        return true;
    }
    return false;
}

void exRackPanel::HideOutline()
{
    RackRoot()->outlined = false;
    root->dirty = true;
}

bool exRackPanel::HandleFindKey(int code, int modifiers)
{
    const bool step = code == WXK_RETURN || code == WXK_NUMPAD_ENTER || code == WXK_F3;
    if (step && (modifiers == wxMOD_NONE || modifiers == wxMOD_SHIFT)) {
        StepFind(modifiers == wxMOD_SHIFT ? -1 : 1);
        return true;
    }
    if (code == WXK_ESCAPE) {
        CloseFind();
        return true;
    }
    // Tab would move the keyboard focus out of the rack, away from the entry.
    if (code == WXK_TAB)
        return true;
    if (code == WXK_BACK) {
        findBar->entry->OnChar(exKeys::kBackspace);
        return true;
    }
    // Typed characters come as this panel's character events: it must have the focus (a click
    // on the control bar takes it).
    if (FindFocus() != this)
        SetFocus();
    return false;
}

void exRackPanel::OnCharEvent(wxKeyEvent& event)
{
    if (!root->overlay && FindIsOpen()) {
        if (!event.ControlDown() && !event.AltDown())
            findBar->entry->OnChar(event.GetUnicodeKey());
        Refresh(true);
        return;
    }
    if (!root->overlay && event.GetUnicodeKey() == '/') {
        OpenFind();
        Refresh(true);
        return;
    }
    exBaseCanvasPanel::OnCharEvent(event);
}

void exRackPanel::OpenFind()
{
    SetFocus();
    if (FindIsOpen())
        return;
    findBar->hidden = false;
    findBar->entry->SetText(wxEmptyString);
    findBar->entry->SetCount(0, 0);
    RackRoot()->finder.Clear();
    SetTopRoom(findBar->height);
}

void exRackPanel::CloseFind()
{
    if (!FindIsOpen())
        return;
    findBar->hidden = true;
    RackRoot()->finder.Clear();
    HideOutline();
    SetTopRoom(0);
}

bool exRackPanel::FindIsOpen() const
{
    return !findBar->hidden;
}

void exRackPanel::OnFindEdited()
{
    RackRoot()->finder.SetQuery(VisibleDevices(), findBar->entry->text);
    ShowCurrentMatch();
}

void exRackPanel::RefreshFind(bool reshow)
{
    exRackFinder& finder = RackRoot()->finder;
    const exBaseNode* was = finder.Current();
    const bool changed = finder.Refresh(VisibleDevices());
    if (reshow || finder.Current() != was)
        ShowCurrentMatch();
    else if (changed)
        findBar->entry->SetCount(finder.Position(), finder.Count());
}

void exRackPanel::StepFind(int direction)
{
    exRackFinder& finder = RackRoot()->finder;
    finder.Refresh(VisibleDevices());
    finder.Step(direction);
    ShowCurrentMatch();
}

void exRackPanel::ShowCurrentMatch()
{
    const exRackFinder& finder = RackRoot()->finder;
    findBar->entry->SetCount(finder.Position(), finder.Count());
    if (exBaseNode* match = finder.Current())
        JumpTo(match);
    else
        HideOutline();
}

void exRackPanel::JumpToAttention(int direction)
{
    exBaseNode* next = exAttention::Next(VisibleDevices(), RackRoot()->JumpTarget(), direction);
    if (next)
        JumpTo(next);
    else if (showNotice)
        showNotice(kNothingNeedsAttention);
}

void exRackPanel::JumpTo(exBaseNode* device)
{
    RackRoot()->SetJumpTarget(device);
    RackRoot()->outlined = true;
    root->dirty = true;
    BringIntoView(*device);
}

void exRackPanel::BringIntoView(const exBaseNode& device)
{
    const int reach = exRackRoot::kOutlineReach;
    const double viewTop = topRoom + kViewGap;
    const double viewHeight = GetClientSize().y - kViewGap - viewTop;
    const double bottom = device.y + device.height + reach;
    double top = (device.host ? device.host->y : device.y) - reach;
    // A device too tall to be shown with its host is shown alone.
    if ((bottom - top) * canvasScale > viewHeight)
        top = device.y - reach;
    const int position = GetScrollPos(wxVERTICAL);
    // Canvas row r is shown at window row origin + (r - position) * scale.
    const double shownTop = GetOrigin().y + (top - position) * canvasScale;
    const double shownBottom = GetOrigin().y + (bottom - position) * canvasScale;
    if (shownTop >= viewTop && shownBottom <= viewTop + viewHeight)
        return;
    const double height = (bottom - top) * canvasScale;
    const double windowRow = height > viewHeight ? viewTop : viewTop + (viewHeight - height) / 2;
    const double target = top - (windowRow - GetOrigin().y) / canvasScale;
    Scroll(-1, std::max(0, int(std::lround(target))));
}
