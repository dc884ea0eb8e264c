#include "devices/canvasuicontrol.h"

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#include "common/controls/canvascolours.h"
#include "common/controls/paintfonts.h"
#include "common/overlay.h"
#include "devices/basenode.h"
#include "devices/displaytimeout.h"
#include "devices/paneldrawing.h"
#include "dialogs/globalsettingsdialog.h"

namespace {
// The display's small type stays readable: a longer text is cut rather than set much smaller.
constexpr double kSmallestDisplayShare = 0.8;
} // namespace

exCanvasUIControl::exCanvasUIControl(exBaseNode* device)
    : exCanvasButton(device, 0, 0, 40, 20, "Button"), device(device)
{
    textFont = exPanelDrawing::SwissBold(7, displayScale);
}

wxFont exCanvasUIControl::LargeFont() const
{
    return exPanelDrawing::SwissBold(13, displayScale);
}

wxString exCanvasUIControl::GetIdText() const
{
    return device->deviceId == 0 ? wxString("ID: -") : wxString::Format("ID: %d", device->deviceId);
}

wxString exCanvasUIControl::GetTimeoutText(bool smallDisplay) const
{
    return exDisplayTimeout::DisplayText(device->displayTimeout, smallDisplay);
}

wxString exCanvasUIControl::GetShownName() const
{
    return device->deviceName.Left(kShownNameLength);
}

bool exCanvasUIControl::IsRead() const
{
    // A switch's display shows what its settings reply gives, ports and all.
    return device->MayEdit(this);
}

wxColour exCanvasUIControl::ScreenColour() const
{
    if (mouseState == kHover)
        return exCanvasColours::kScreenHoverBlue;
    return state.IsEdited() ? *wxRED : exCanvasColours::kScreenBlue;
}

wxSize exCanvasUIControl::Paint(wxGraphicsContext* gc)
{
    gc->PushState();
    gc->Scale(displayScale, displayScale);
    wxSize size;
    switch (device->panelStyle) {
    case kInfoKey:
        size = PaintInfoKey(gc);
        break;
    case kKeys:
        size = PaintKeys(gc);
        break;
    case kLargeDisplay:
        size = PaintLargeDisplay(gc);
        break;
    default:
        size = PaintSmallDisplay(gc);
        break;
    }
    gc->PopState();
    width = Scaled(size.x);
    height = Scaled(size.y);
    return wxSize(width, height);
}

void exCanvasUIControl::PaintRoundKey(wxGraphicsContext* gc, double kx, double ky)
{
    gc->SetPen(greyOutline ? wxPen(exCanvasColours::kDarkGrey, 1) : *wxBLACK_PEN);
    gc->SetBrush(*wxBLACK_BRUSH);
    gc->DrawEllipse(kx, ky, 30, 30);
}

wxSize exCanvasUIControl::PaintInfoKey(wxGraphicsContext* gc)
{
    const wxColour colour = mouseState == kHover ? exCanvasColours::kLightGrey
                            : state.IsEdited()   ? *wxRED
                                                 : normalFill;
    gc->SetBrush(*wxTRANSPARENT_BRUSH);
    gc->SetPen(wxPen(colour, 1));
    gc->DrawEllipse(0, 0, 20, 20);
    exPaintFonts::Select(*gc, LargeFont(), colour);
    gc->DrawText("i", 9, 2);
    return wxSize(20, 20);
}

wxSize exCanvasUIControl::PaintKeys(wxGraphicsContext* gc)
{
    gc->SetPen(greyOutline ? wxPen(exCanvasColours::kDarkGrey, 1) : *wxBLACK_PEN);
    gc->SetBrush(*wxBLACK_BRUSH);
    for (double kx : {150.0, 185.0, 220.0})
        gc->DrawRectangle(kx, 5, 30, 30);
    exPanelDrawing::PaintFitted(gc, "Setup", wxRect2DDouble(221, 16, 28, 12), textFont, *wxWHITE,
                                wxALIGN_CENTRE_HORIZONTAL);
    exPaintFonts::Select(*gc, LargeFont(), *wxWHITE);
    gc->DrawText("A", 160, 11);
    gc->DrawText("B", 195, 11);
    PaintRoundKey(gc, 255, 5);
    return wxSize(285, 40);
}

wxSize exCanvasUIControl::PaintLargeDisplay(wxGraphicsContext* gc)
{
    const wxColour screen = ScreenColour();
    gc->SetPen(wxPen(screen, 1));
    gc->SetBrush(wxBrush(screen));
    gc->DrawRectangle(0, 2, 130, 36);
    const int offset = textLineOffset;
    // Each text within the screen, the left column clear of the right one.
    auto text = [&](const wxString& line, double left, double top, double room) {
        exPanelDrawing::PaintFitted(gc, line, wxRect2DDouble(left, top, room, 12), textFont,
                                    *wxWHITE, wxALIGN_LEFT, kSmallestDisplayShare);
    };
    const bool read = IsRead();
    const bool locked = read && device->locked;
    text(GetShownName(), 3, 3, locked ? 87 : 125);
    text(GetIdText(), 92, offset + 16, 36);
    if (!read) {
        text(exSettingState::kNotReadLine, 3, 16, 87);
    } else {
        text(device->displayLine2, 3, 16, 87);
        text(GetTimeoutText(false), 3, 2 * offset + 29, 125);
        if (locked)
            text("Locked", 92, 3, 36);
    }
    PaintRoundKey(gc, 150, 5);
    return wxSize(180, 40);
}

wxSize exCanvasUIControl::PaintSmallDisplay(wxGraphicsContext* gc)
{
    const wxColour screen = ScreenColour();
    gc->SetPen(wxPen(screen, 1));
    gc->SetBrush(wxBrush(screen));
    gc->DrawRectangle(0, 0, 75, 50);
    const int offset = textLineOffset;
    // Each text within the screen; the ID clear of "Locked" on the same line.
    auto text = [&](const wxString& line, double left, double top, double room) {
        exPanelDrawing::PaintFitted(gc, line, wxRect2DDouble(left, top, room, 12), textFont,
                                    *wxWHITE, wxALIGN_LEFT, kSmallestDisplayShare);
    };
    const bool read = IsRead();
    const bool locked = read && device->locked;
    text(GetShownName(), 2, 2, 71);
    text(GetIdText(), 2, offset + 41, locked ? 36 : 71);
    if (!read) {
        text(exSettingState::kNotReadLine, 2, 15, 71);
    } else {
        text(device->displayLine2, 2, 15, 71);
        text(GetTimeoutText(true), 2, 2 * offset + 28, 71);
        if (locked)
            text("Locked", 40, offset + 41, 33);
    }
    PaintRoundKey(gc, 90, 10);
    return wxSize(120, 50);
}

exCanvasControl* exCanvasUIControl::CreateDialog(exCanvasControl* root)
{
    return new exGlobalSettingsDialog(root, device);
}

bool exCanvasUIControl::OnClick(exCanvasControl*, int, int)
{
    return exOverlay::OpenDialogOf(this, [this](exCanvasControl* root) {
        return device->MayEdit(this) ? CreateDialog(root)
                                     : device->NotReadMessage(root, "The device settings");
    });
}
