#pragma once

#include <cstddef>
#include <iterator>

#include <wx/colour.h>
#include <wx/event.h>
#include <wx/gdicmn.h>
#include <wx/object.h>
#include <wx/string.h>

class wxGraphicsContext;
class exCanvasControl;

// Node of an exCanvasControlList.
struct wxexCanvasControlListNode {
    exCanvasControl* data = nullptr;
    wxexCanvasControlListNode* previous = nullptr;
    wxexCanvasControlListNode* next = nullptr;
};

// Ordered list of child controls in drawing order. It holds the pointers only; the owning control
// deletes the controls.
class exCanvasControlList {
public:
    class iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = exCanvasControl*;
        using difference_type = std::ptrdiff_t;
        using pointer = exCanvasControl**;
        using reference = exCanvasControl*;

        iterator() = default;
        explicit iterator(wxexCanvasControlListNode* node) : m_node(node) {}
        exCanvasControl* operator*() const { return m_node->data; }
        iterator& operator++();
        bool operator==(const iterator& other) const { return m_node == other.m_node; }
        bool operator!=(const iterator& other) const { return m_node != other.m_node; }
        wxexCanvasControlListNode* node() const { return m_node; }

    private:
        wxexCanvasControlListNode* m_node = nullptr;
    };

    exCanvasControlList() = default;
    ~exCanvasControlList();
    exCanvasControlList(const exCanvasControlList&) = delete;
    exCanvasControlList& operator=(const exCanvasControlList&) = delete;

    void Append(exCanvasControl* control);
    // Inserts before `position`; the end iterator appends.
    void Insert(iterator position, exCanvasControl* control);
    // Moves `control` (in the list or not) right after `anchor` and the `followers` entries that
    // already follow it; appends when `anchor` is not in the list.
    void InsertAfter(const exCanvasControl* anchor, int followers, exCanvasControl* control);
    // Removes the node holding `control`; false when it is not in the list.
    bool DeleteObject(exCanvasControl* control);
    void Clear();
    size_t GetCount() const { return m_count; }
    // Changes whenever a control is added, inserted or removed.
    size_t Version() const { return m_version; }
    bool IsEmpty() const { return m_count == 0; }
    iterator Find(const exCanvasControl* control) const;
    exCanvasControl* GetFirst() const { return m_head ? m_head->data : nullptr; }

    iterator begin() const { return iterator(m_head); }
    iterator end() const { return iterator(); }

private:
    void Unlink(wxexCanvasControlListNode* node);

    wxexCanvasControlListNode* m_head = nullptr;
    wxexCanvasControlListNode* m_tail = nullptr;
    size_t m_count = 0;
    size_t m_version = 0;
};

// Base of every drawn element: a plain object with a position, a size and children, painted on
// a graphics context and fed mouse events and characters by its canvas panel.
class exCanvasControl : public wxObject {
public:
    enum MouseState { kIdle = 0, kHover = 1, kPressed = 2 };

    // Position and size in design units; not added to the parent's children.
    exCanvasControl(exCanvasControl* parent, int x, int y, int width, int height,
                    const wxString& label);
    ~exCanvasControl() override;
    exCanvasControl(const exCanvasControl&) = delete;
    exCanvasControl& operator=(const exCanvasControl&) = delete;

    virtual wxSize Draw(wxGraphicsContext* gc);
    virtual wxSize Paint(wxGraphicsContext* gc);
    virtual wxSize DrawChildren(wxGraphicsContext* gc);
    virtual exCanvasControl* RouteMouse(wxMouseEvent event);
    virtual exCanvasControl* HandleMouse(wxMouseEvent event);
    virtual bool OnClick(exCanvasControl* source, int x, int y);
    virtual void OnChar(wxChar character);
    virtual int FilterChar(wxChar character);
    virtual bool HitTest(int x, int y, int width, int height);

    void SetEnabled(bool flag);
    bool ClearHover();
    void ClearHoverOfSubtree();
    void NotifyClick(int x, int y);
    void GiveFocus(exCanvasControl* control);
    void FocusNext(exCanvasControl* child);
    exCanvasControl* GetRoot();
    // Asks the panel for a repaint after the current event.
    void SetDirty() { GetRoot()->dirty = true; }

    // The display scale (exDisplayScale::Screen), the same for every control.
    static float ScreenDisplayScale();

    exCanvasControl* parent;
    exCanvasControlList* children;
    exCanvasControl* overlay = nullptr;
    exCanvasControl* retiredOverlay = nullptr;
    wxString label;
    wxColour normalFill;
    wxColour normalText;
    wxColour hoverFill;
    wxColour hoverText;
    wxColour disabledFill;
    wxColour disabledText;
    bool enabled = true;
    bool hasFocus = false;
    bool takesFocus = false;
    exCanvasControl* focusedControl = nullptr;
    int clientWidth = 0;
    int clientHeight = 0;
    double cachedTextWidth = -1.0;
    double cachedTextHeight = -1.0;
    int mouseState = kIdle;
    bool dirty = false;
    float displayScale;
    bool hidden = false;
    int width;
    int height;
    int drawnWidth = 0;
    int drawnHeight = 0;
    int designWidth;
    int designHeight;
    int x;
    int y;

protected:
    // In float, as the main window scales its own sizes, so that 25 units at 0.96 give 24.
    int Scaled(float designValue) const { return int(designValue * displayScale); }

    wxDECLARE_ABSTRACT_CLASS(exCanvasControl);
};
