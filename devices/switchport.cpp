#include "devices/switchport.h"

#include <string>

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#include "common/controls/canvascolours.h"
#include "common/controls/paintfonts.h"
#include "common/overlay.h"
#include "devices/basenode.h"
#include "devices/paneldrawing.h"
#include "dialogs/switchportdialog.h"

namespace {
constexpr int kDesignWidth = 40;
constexpr int kDesignHeight = 70;
} // namespace

exSwitchPort::exSwitchPort(exBaseNode* device, int index)
    : exCanvasControl(device, 0, 0, kDesignWidth, kDesignHeight,
                      // A switch makes dozens of these: no formatted path per port.
                      wxString::FromAscii(std::to_string(index + 1).c_str())),
      portIndex(index)
{
    normalFill = exCanvasColours::kDarkGrey;
    font = exPanelDrawing::SwissBold(9, displayScale);
}

wxString exSwitchPort::GetStatusText() const
{
    switch (mode) {
    case kNormal:
        return "Normal";
    case kTrunkOrLoop:
        return loopPartner == 0 ? wxString("Trunk") : wxString::Format("Loop %d", loopPartner);
    case kFilter:
        return "Filter";
    default:
        return wxEmptyString;
    }
}

wxString exSwitchPort::GetVlanText() const
{
    if ((mode == kNormal || mode == kFilter) && trunkCapable)
        return wxString::Format("%d", vlan);
    return wxEmptyString;
}

int exSwitchPort::GetWireValue() const
{
    return mode == kTrunkOrLoop ? loopPartner : vlan;
}

void exSwitchPort::SetFromWire(int wireMode, int value, int wireSpeed)
{
    mode = wireMode;
    speed = wireSpeed;
    if (mode == kTrunkOrLoop)
        loopPartner = value;
    else
        vlan = value;
}

wxSize exSwitchPort::Paint(wxGraphicsContext* gc)
{
    const bool hovered = mouseState == kHover;
    gc->PushState();
    gc->Scale(displayScale, displayScale);
    gc->SetBrush(*wxTRANSPARENT_BRUSH);
    gc->SetPen(wxPen(hovered ? exCanvasColours::kLightGrey : normalFill, 2));
    if (connectorKind == kSfpOnly) {
        gc->SetBrush(wxBrush(normalFill));
        gc->DrawRectangle(6, 40, 28, 16);
    } else {
        if (connectorKind == kCircular) {
            gc->SetBrush(*wxBLACK_BRUSH);
            gc->DrawEllipse(2, 30, 36, 36);
        }
        gc->SetBrush(wxBrush(normalFill));
        gc->DrawRectangle(8, 42, 24, 12);
        gc->DrawRectangle(16, 54, 8, 4);
    }
    if (hasSfp) {
        gc->SetBrush(wxBrush(normalFill));
        gc->DrawRectangle(6 + sfpOffsetX, 40 + sfpOffsetY, 28, 16);
    }

    exPaintFonts::Select(*gc, font, *wxBLACK);
    double w = 0, h = 0;
    gc->GetTextExtent(label, &w, &h);
    gc->DrawText(label, (kDesignWidth - w) * 0.5, 42);
    if (hasSfp)
        gc->DrawText(label, (kDesignWidth - w) * 0.5 + sfpOffsetX, 42);

    const bool read = state.MaySend();
    const wxColour status = hovered            ? exCanvasColours::kLightGrey
                            : state.IsEdited() ? *wxRED
                            : read             ? normalFill
                                               : exCanvasColours::kNotRead;
    // Within the port's width: a wider line would run into the next port's.
    auto centred = [&](const wxString& text, double top) {
        if (!text.empty())
            exPanelDrawing::PaintFitted(gc, text, wxRect2DDouble(0, top, kDesignWidth, 15), font,
                                        status, wxALIGN_CENTRE_HORIZONTAL);
    };
    if (read) {
        centred(GetStatusText(), 2);
        centred(GetVlanText(), 14);
    } else {
        centred(exSettingState::kNotReadMark, 2);
    }
    gc->PopState();
    width = Scaled(kDesignWidth);
    height = Scaled(kDesignHeight);
    return wxSize(width, height);
}

exCanvasControl* exSwitchPort::CreateDialog(exCanvasControl* root)
{
    return new exSwitchPortDialog(root, this);
}

bool exSwitchPort::OnClick(exCanvasControl*, int, int)
{
    return exOverlay::OpenDialogOf(this, [this](exCanvasControl* root) {
        const auto* device = static_cast<const exBaseNode*>(parent);
        return device->MayEdit(this) ? CreateDialog(root)
                                     : device->NotReadMessage(root, "Switch port " + label);
    });
}
