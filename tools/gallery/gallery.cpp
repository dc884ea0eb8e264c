// Shows every canvas control in its normal, hovered, pressed, disabled and focused looks, one
// kind per row, so that the drawing can be checked by eye (and in screenshots).
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/graphics.h>

#include "common/basecanvaspanel.h"
#include "common/controls/canvasbitmapbutton.h"
#include "common/controls/canvasbutton.h"
#include "common/controls/canvasiptextcontrol.h"
#include "common/controls/canvasswitch.h"
#include "common/controls/canvastextcontrol.h"
#include "common/controls/hexkeyboard.h"
#include "common/controls/numberkeyboard.h"
#include "common/controls/segmentedcontrol.h"
#include "common/controls/switchandbutton.h"
#include "common/controls/textmeasure.h"

#include "resources/rigwiseicon.xpm"

namespace {

enum Look { kNormal, kHovered, kPressed, kDisabled, kFocused, kLookCount };
const char* const kLookNames[kLookCount] = {"normal", "hovered", "pressed", "disabled",
                                            "focused"};

constexpr int kColumnWidth = 218;
constexpr int kFirstColumn = 160;

// A white caption.
class Caption : public exCanvasControl {
public:
    Caption(exCanvasControl* parent, int x, int y, const wxString& text)
        : exCanvasControl(parent, x, y, 0, 0, text)
    {
        parent->children->Append(this);
    }
    wxSize Paint(wxGraphicsContext* gc) override
    {
        gc->SetFont(CanvasLabelFont(), *wxWHITE);
        gc->DrawText(label, 0, 0);
        return wxSize(width, height);
    }
};

template <class Control> Control* Add(exCanvasControl* parent, Control* control)
{
    parent->children->Append(control);
    return control;
}

// Puts a control (or, for containers, the part the pointer would be on) into a look.
void Apply(Look look, exCanvasControl* whole, exCanvasControl* part)
{
    switch (look) {
    case kHovered:
        part->mouseState = exCanvasControl::kHover;
        break;
    case kPressed:
        part->mouseState = exCanvasControl::kPressed;
        break;
    case kDisabled:
        whole->SetEnabled(false);
        break;
    case kFocused:
        part->takesFocus = true;
        part->GetRoot()->GiveFocus(part);
        break;
    default:
        break;
    }
}

class GalleryPanel : public exBaseCanvasPanel {
public:
    explicit GalleryPanel(wxWindow* parent) : exBaseCanvasPanel(parent, "Gallery")
    {
        root = new exCanvasControl(nullptr, 0, 0, 0, 0, wxEmptyString);
        // Controls sit on black: the control bar and the dialogs are black.
        SetBackgroundColour(*wxBLACK);
        // A still picture: the pointer must not put the controls back to their idle look.
        for (const wxEventTypeTag<wxMouseEvent>& type : {wxEVT_MOTION, wxEVT_ENTER_WINDOW, wxEVT_LEAVE_WINDOW,
                                 wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK,
                                 wxEVT_MOUSEWHEEL})
            Bind(type, [](wxMouseEvent&) {});
        for (int look = 0; look < kLookCount; ++look)
            new Caption(root, kFirstColumn + look * kColumnWidth, 5, kLookNames[look]);

        int row = 30;
        Row(row, "Button", 30, [](exCanvasControl* cell, Look look) {
            auto* b = Add(cell, new exCanvasButton(cell, 0, 0, 60, 20, "Exit"));
            Apply(look, b, b);
        });
        Row(row, "Bitmap button", 45, [](exCanvasControl* cell, Look look) {
            auto* b = Add(cell, new exCanvasBitmapButton(cell, 0, 0, rigwise_icon_xpm));
            Apply(look, b, b);
        });
        Row(row, "Text entry", 30, [](exCanvasControl* cell, Look look) {
            auto* t = Add(cell, new exCanvasTextControl(cell, "Node 7", 0, 0, 150, 20));
            Apply(look, t, t);
        });
        Row(row, "IP entry", 30, [](exCanvasControl* cell, Look look) {
            auto* t = Add(cell, new exCanvasIPTextControl(cell, "192.168.1.20", 0, 0, 150, 20));
            Apply(look, t, t);
        });
        Row(row, "IP entry, invalid", 30, [](exCanvasControl* cell, Look look) {
            auto* t = Add(cell, new exCanvasIPTextControl(cell, "192.168.1", 0, 0, 150, 20));
            Apply(look, t, t);
        });
        Row(row, "Switch, on", 30, [](exCanvasControl* cell, Look look) {
            auto* s = Add(cell, new exCanvasSwitch(cell, true, 0, 0, 60, 20));
            Apply(look, s, s);
        });
        Row(row, "Switch, off", 30, [](exCanvasControl* cell, Look look) {
            auto* s = Add(cell, new exCanvasSwitch(cell, false, 0, 0, 60, 20));
            Apply(look, s, s);
        });
        Row(row, "Switch and button", 30, [](exCanvasControl* cell, Look look) {
            auto* p = Add(cell, new exCanvasSwitchAndButton(cell, 0, 0, 50, 20, "Scan"));
            if (look == kPressed) {
                p->switchControl->on = false;
                p->button->SetEnabled(true);
            }
            Apply(look, p,
                  look == kPressed ? static_cast<exCanvasControl*>(p->button) : p->switchControl);
        });
        Row(row, "Segmented", 30, [](exCanvasControl* cell, Look look) {
            wxArrayString items;
            for (const char* item : {"In", "Out", "Off"})
                items.Add(item);
            auto* s = Add(cell, new exCanvasSegementedControl(cell, items, 1, 0, 0, 150, 20));
            Apply(look, s, s);
        });
        Row(row, "Hex keyboard", 190, [](exCanvasControl* cell, Look look) {
            auto* k = Add(cell, new exCanvasHexKeyboard(cell, 0, 0));
            Apply(look, k, k->keys[10]);
        });
        Row(row, "Number keyboard", 105, [](exCanvasControl* cell, Look look) {
            auto* k = Add(cell, new exCanvasNumberKeyboard(cell, 0, 0));
            Apply(look, k, k->keys[9]);
        });
    }
    ~GalleryPanel() override { delete root; }

private:
    template <class Build> void Row(int& y, const wxString& name, int height, Build build)
    {
        new Caption(root, 10, y + 3, name);
        for (int look = 0; look < kLookCount; ++look) {
            // Only entries take the focus, and a tree has one focused control.
            if (look == kFocused && !name.Contains("entry"))
                continue;
            if (look == kFocused && name != "Text entry")
                continue;
            auto* cell = Add(root, new exCanvasControl(root, kFirstColumn + look * kColumnWidth,
                                                       y, 0, 0, wxEmptyString));
            build(cell, Look(look));
        }
        y += height;
    }
};

class GalleryApp : public wxApp {
public:
    bool OnInit() override
    {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "Canvas controls", wxPoint(0, 0),
                                  wxSize(1270, 760));
        new GalleryPanel(frame);
        frame->Show();
        return true;
    }
};

} // namespace

wxIMPLEMENT_APP(GalleryApp);
