#include "devices/dmxport.h"

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#include "common/controls/canvascolours.h"
#include "common/overlay.h"
#include "devices/basenode.h"
#include "devices/paneldrawing.h"
#include "dialogs/dmxportdialog.h"
#include "net/universecode.h"

exDMXPort::exDMXPort(exBaseNode* device, int index)
    : exCanvasControl(device, 0, 0, 40, 70, wxEmptyString), portNumber(index)
{
    labelFont = exPanelDrawing::SwissBold(9, displayScale);
}

void exDMXPort::SetUniverseCode(uint16_t code)
{
    exUniverseCode::Decode(code, protocol, universe);
}

uint16_t exDMXPort::GetUniverseCode() const
{
    return exUniverseCode::Encode(protocol, universe);
}

wxString exDMXPort::GetUniverseText() const
{
    return exUniverseCode::Text(protocol, universe);
}

wxString exDMXPort::GetNumberLabel() const
{
    // Numbered 1..16 within a device or module: port 15 shows 16, module port 16 shows 1.
    return wxString::Format("%d", portNumber % 16 + 1);
}

exBaseNode* exDMXPort::GetDevice() const
{
    return static_cast<exBaseNode*>(parent);
}

wxSize exDMXPort::Paint(wxGraphicsContext* gc)
{
    const bool read = state.MaySend();
    const wxColour status = state.IsEdited() ? *wxRED
                            : read           ? exCanvasColours::kDarkGrey
                                             : exCanvasColours::kNotRead;
    const bool hovered = mouseState == kHover;
    const wxColour pen = hovered ? exCanvasColours::kLightGrey : status;
    gc->PushState();
    gc->Scale(displayScale, displayScale);
    gc->SetBrush(optionFlag ? wxBrush(exCanvasColours::kDarkGrey) : *wxBLACK_BRUSH);
    gc->SetPen(wxPen(pen, 2));
    gc->DrawEllipse(2, 30, 36, 36);
    const wxPoint pins[] = {{7, 48}, {11, 56}, {19, 60}, {27, 56}, {31, 48}};
    gc->SetBrush(wxBrush(pen));
    for (const wxPoint& pin : pins)
        gc->DrawEllipse(pin.x, pin.y, 2, 2);

    const wxColour text = hovered ? exCanvasColours::kLightGrey : optionFlag ? *wxBLACK : status;
    // The not-read mark stands above the connector, on the panel: never black.
    const wxColour mark = hovered ? exCanvasColours::kLightGrey : exCanvasColours::kNotRead;
    // Within the port's width, less a gap to the next port's labels, which NodeGamma sets
    // right beside.
    auto centred = [&](const wxString& label, double top, const wxColour& colour) {
        exPanelDrawing::PaintFitted(gc, label, wxRect2DDouble(1, top, 38, 15), labelFont, colour,
                                    wxALIGN_CENTRE_HORIZONTAL);
    };
    centred(GetNumberLabel(), 34, text);
    // Nothing the device has not reported: no direction, no universe.
    if (!read) {
        centred(exSettingState::kNotReadMark, 14, mark);
    } else {
        if (mode == kInput)
            centred("In", 2, text);
        else if (mode == kOutput)
            centred("Out", 2, text);
        centred(GetUniverseText(), 14, text);
    }
    gc->PopState();
    return wxSize(width, height);
}

exCanvasControl* exDMXPort::CreateDialog(exCanvasControl* root)
{
    auto* dialog = new exDMXPortDialog(root, this);
    // A plug-in module's ports are numbered 16 x bay + index; the title names the bay's letter.
    if (GetDevice()->host)
        dialog->SetBay((portNumber / 16) % 16);
    return dialog;
}

bool exDMXPort::OnClick(exCanvasControl*, int, int)
{
    return exOverlay::OpenDialogOf(this, [this](exCanvasControl* root) {
        const exBaseNode* device = GetDevice();
        return device->MayEdit(this) ? CreateDialog(root)
                                     : device->NotReadMessage(root, "DMX port " + GetNumberLabel());
    });
}
