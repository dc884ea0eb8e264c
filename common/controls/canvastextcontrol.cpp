#include "common/controls/canvastextcontrol.h"

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#include "common/controls/keys.h"
#include "common/controls/paintfonts.h"
#include "common/controls/textmeasure.h"


exCanvasTextControl::exCanvasTextControl(exCanvasControl* parent, const wxString& text, int x,
                                         int y, int width, int height)
    : exCanvasControl(parent, x, y, width, height, wxEmptyString), text(text)
{
    takesFocus = true;
}

void exCanvasTextControl::SetText(const wxString& newText)
{
    text = newText;
    SetDirty();
}

wxSize exCanvasTextControl::Paint(wxGraphicsContext* gc)
{
    return PaintEntry(gc, normalFill);
}

wxSize exCanvasTextControl::PaintEntry(wxGraphicsContext* gc, const wxColour& enabledFill)
{
    const wxColour ink = PaintBox(gc, enabledFill);
    exPaintFonts::Select(*gc, CanvasLabelFont(), ink);
    gc->DrawText(text, kTextInset, kTextInset);
    return wxSize(width, height);
}

wxColour exCanvasTextControl::PaintBox(wxGraphicsContext* gc, const wxColour& enabledFill)
{
    wxColour fill = enabledFill;
    wxColour ink = *wxBLACK;
    if (!enabled) {
        ink = normalText;
        fill = disabledFill;
    }
    gc->SetBrush(wxBrush(fill, wxBRUSHSTYLE_SOLID));
    gc->SetPen(hasFocus ? wxPen(*wxWHITE, 2, wxPENSTYLE_SOLID) : wxPen(fill, 1, wxPENSTYLE_SOLID));
    gc->DrawRectangle(0, 0, width, height);
    return ink;
}

void exCanvasTextControl::OnChar(wxChar character)
{
    if (character == 0)
        return;
    if (character == exKeys::kTab) {
        if (parent)
            parent->FocusNext(this);
        return;
    }
    // 0 means an ancestor refused the character or has already applied it itself.
    if (FilterChar(character) == 0)
        return;
    if (character == exKeys::kBackspace) {
        if (!text.empty())
            text.RemoveLast();
    } else {
        text += character;
    }
    NotifyClick(0, 0);
    SetDirty();
}
