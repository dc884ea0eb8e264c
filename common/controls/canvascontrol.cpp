#include "common/controls/canvascontrol.h"

#include <algorithm>

#include <wx/debug.h>
#include <wx/graphics.h>

#include "common/controls/canvascolours.h"
#include "common/displayscale.h"

wxIMPLEMENT_ABSTRACT_CLASS(exCanvasControl, wxObject);

exCanvasControlList::iterator& exCanvasControlList::iterator::operator++()
{
    wxASSERT_MSG(m_node, "uninitialized iterator");
    if (m_node)
        m_node = m_node->next;
    return *this;
}

exCanvasControlList::~exCanvasControlList()
{
    Clear();
}

void exCanvasControlList::Append(exCanvasControl* control)
{
    Insert(end(), control);
}

void exCanvasControlList::Insert(iterator position, exCanvasControl* control)
{
    auto* node = new wxexCanvasControlListNode;
    node->data = control;
    wxexCanvasControlListNode* before = position.node();
    if (!before) {
        node->previous = m_tail;
        if (m_tail)
            m_tail->next = node;
        else
            m_head = node;
        m_tail = node;
    } else {
        node->previous = before->previous;
        node->next = before;
        if (before->previous)
            before->previous->next = node;
        else
            m_head = node;
        before->previous = node;
    }
    ++m_count;
    ++m_version;
}

void exCanvasControlList::InsertAfter(const exCanvasControl* anchor, int followers,
                                      exCanvasControl* control)
{
    DeleteObject(control);
    iterator node = Find(anchor);
    if (node == end()) {
        Append(control);
        return;
    }
    for (int step = 0; step <= followers && node != end(); ++step)
        ++node;
    Insert(node, control);
}

bool exCanvasControlList::DeleteObject(exCanvasControl* control)
{
    wxexCanvasControlListNode* node = Find(control).node();
    if (!node)
        return false;
    Unlink(node);
    return true;
}

void exCanvasControlList::Clear()
{
    while (m_head)
        Unlink(m_head);
}

exCanvasControlList::iterator exCanvasControlList::Find(const exCanvasControl* control) const
{
    for (wxexCanvasControlListNode* node = m_head; node; node = node->next)
        if (node->data == control)
            return iterator(node);
    return end();
}

void exCanvasControlList::Unlink(wxexCanvasControlListNode* node)
{
    if (node->previous)
        node->previous->next = node->next;
    else
        m_head = node->next;
    if (node->next)
        node->next->previous = node->previous;
    else
        m_tail = node->previous;
    delete node;
    --m_count;
    ++m_version;
}

float exCanvasControl::ScreenDisplayScale()
{
    return exDisplayScale::Screen();
}

exCanvasControl::exCanvasControl(exCanvasControl* parent, int x, int y, int width, int height,
                                 const wxString& label)
    : parent(parent), children(new exCanvasControlList), label(label),
      normalFill(exCanvasColours::kLightGrey), normalText(exCanvasColours::kDarkGrey),
      hoverFill(exCanvasColours::kLightGrey), hoverText(exCanvasColours::kDarkGrey),
      disabledFill(exCanvasColours::kLightGrey), disabledText(exCanvasColours::kDarkGrey),
      displayScale(ScreenDisplayScale()), width(Scaled(width)), height(Scaled(height)),
      designWidth(width), designHeight(height), x(Scaled(x)), y(Scaled(y))
{
}

exCanvasControl::~exCanvasControl()
{
    // Taken off the list before deletion, so the list never holds a dangling pointer.
    while (exCanvasControl* child = children->GetFirst()) {
        children->DeleteObject(child);
        delete child;
    }
    delete retiredOverlay;
    // A dialog still open when the program ends belongs to nobody else.
    delete overlay;
    delete children;
}

wxSize exCanvasControl::Draw(wxGraphicsContext* gc)
{
    if (hidden)
        return wxSize(0, 0);
    gc->PushState();
    gc->Translate(x, y);
    dirty = false;
    const wxSize own = Paint(gc);
    width = std::max(width, own.x);
    height = std::max(height, own.y);
    const wxSize inner = DrawChildren(gc);
    width = std::max(width, inner.x);
    height = std::max(height, inner.y);
    gc->PopState();
    return wxSize(width, height);
}

wxSize exCanvasControl::Paint(wxGraphicsContext*)
{
    return wxSize(width, height);
}

wxSize exCanvasControl::DrawChildren(wxGraphicsContext* gc)
{
    for (exCanvasControl* child : *children) {
        const wxSize size = child->Draw(gc);
        width = std::max(width, size.x);
        height = std::max(height, size.y);
    }
    return wxSize(width, height);
}

exCanvasControl* exCanvasControl::RouteMouse(wxMouseEvent event)
{
    if (!enabled) {
        ClearHover();
        return nullptr;
    }
    if (hidden)
        return nullptr;
    event.SetPosition(event.GetPosition() - wxPoint(x, y));
    if (event.GetX() < 0 || event.GetY() < 0) {
        ClearHoverOfSubtree();
        return nullptr;
    }
    for (exCanvasControl* child : *children)
        if (exCanvasControl* taker = child->RouteMouse(event))
            return taker;
    if (HitTest(event.GetX(), event.GetY(), width, height) && children->IsEmpty())
        return HandleMouse(event);
    ClearHover();
    return nullptr;
}

exCanvasControl* exCanvasControl::HandleMouse(wxMouseEvent event)
{
    if (hidden)
        return nullptr;
    const int previous = mouseState;
    if (mouseState == kIdle)
        mouseState = kHover;
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_LEFT_DOWN || type == wxEVT_LEFT_DCLICK) {
        // Holding the button produces repeated presses only after the look went back to hover.
        if (previous != kPressed)
            NotifyClick(event.GetX(), event.GetY());
        if (takesFocus)
            GiveFocus(this);
        mouseState = kPressed;
        SetDirty();
        return this;
    }
    mouseState = kHover;
    if (previous != kHover)
        SetDirty();
    return nullptr;
}

bool exCanvasControl::OnClick(exCanvasControl*, int, int)
{
    return false;
}

void exCanvasControl::OnChar(wxChar character)
{
    // A focused control that does not edit text inherits this; it must not hand the character
    // back to itself.
    exCanvasControl* target = GetRoot()->focusedControl;
    if (target && target != this)
        target->OnChar(character);
}

int exCanvasControl::FilterChar(wxChar character)
{
    return parent ? parent->FilterChar(character) : -1;
}

bool exCanvasControl::HitTest(int px, int py, int w, int h)
{
    return px >= 0 && px <= w && py >= 0 && py <= h;
}

void exCanvasControl::SetEnabled(bool flag)
{
    if (flag == enabled)
        return;
    enabled = flag;
    SetDirty();
    for (exCanvasControl* child : *children)
        child->SetEnabled(flag);
}

bool exCanvasControl::ClearHover()
{
    if (mouseState == kIdle)
        return false;
    mouseState = kIdle;
    SetDirty();
    return true;
}

void exCanvasControl::ClearHoverOfSubtree()
{
    ClearHover();
    for (exCanvasControl* child : *children)
        child->ClearHoverOfSubtree();
}

void exCanvasControl::NotifyClick(int px, int py)
{
    for (exCanvasControl* control = this; control; control = control->parent)
        if (control->OnClick(this, px, py))
            return;
}

void exCanvasControl::GiveFocus(exCanvasControl* control)
{
    if (!control || !control->takesFocus)
        return;
    exCanvasControl* root = GetRoot();
    if (root->focusedControl)
        root->focusedControl->hasFocus = false;
    root->focusedControl = control;
    control->hasFocus = true;
    root->dirty = true;
}

void exCanvasControl::FocusNext(exCanvasControl* child)
{
    exCanvasControlList::iterator position = children->Find(child);
    if (position == children->end())
        return;
    ++position;
    exCanvasControl* next = position == children->end() ? children->GetFirst() : *position;
    if (next->takesFocus)
        GiveFocus(next);
}

exCanvasControl* exCanvasControl::GetRoot()
{
    exCanvasControl* control = this;
    while (control->parent)
        control = control->parent;
    return control;
}
