#include "devices/ethernetport.h"

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#include "common/controls/canvascolours.h"
#include "common/controls/paintfonts.h"
#include "common/overlay.h"
#include "devices/basenode.h"
#include "devices/networksettings.h"
#include "devices/paneldrawing.h"
#include "dialogs/ethernetportdialog.h"
#include "net/ipv4.h"

namespace {
// The width the address lines are centred in: every model leaves 60 free either side of its
// sockets' middle (NodeBeta's and StoreEta's DMX ports, NodeGamma's title are no closer), and the
// lines keep 2 of it from the neighbour's labels.
constexpr double kAddressRoom = 116;
} // namespace

exEthernetPort::exEthernetPort(exBaseNode* device, exNetworkSettings* network)
    : exCanvasControl(device, 0, 0, 0, 60, wxEmptyString), network(network),
      textColour(exCanvasColours::kDarkGrey)
{
    labelFont = exPanelDrawing::SwissBold(9, displayScale);
}

void exEthernetPort::RebuildTexts()
{
    network->ipText = FormatIpAddress(network->currentIp);
    network->maskText = FormatIpAddress(network->currentMask);
}

wxSize exEthernetPort::Paint(wxGraphicsContext* gc)
{
    if (socketCount == 0)
        return wxSize(0, 0);
    const bool hovered = mouseState == kHover;
    const wxColour status = hovered                     ? exCanvasColours::kLightGrey
                            : network->state.IsEdited() ? *wxRED
                                                        : textColour;
    gc->PushState();
    gc->Scale(displayScale, displayScale);
    gc->SetBrush(*wxTRANSPARENT_BRUSH);
    if (socketCount == kInfoKey) {
        gc->SetPen(wxPen(status, 1));
        gc->DrawEllipse(0, 0, 20, 20);
        exPaintFonts::Select(*gc, exPanelDrawing::SwissBold(9, displayScale), status);
        gc->DrawText("i", 9, 2);
        gc->PopState();
        width = Scaled(20);
        height = Scaled(20);
        return wxSize(width, height);
    }
    gc->SetPen(wxPen(hovered ? exCanvasColours::kLightGrey : status, 2));
    for (int i = 0; i < socketCount; ++i) {
        const int x = 8 + 40 * i;
        if (circularHousing) {
            gc->SetBrush(*wxBLACK_BRUSH);
            gc->DrawEllipse(x - 6, 30, 36, 36);
        }
        gc->SetBrush(wxBrush(exCanvasColours::kLightGrey));
        gc->DrawRectangle(x, 42, 24, 12);
        gc->DrawRectangle(x + 8, 54, 8, 4);
    }
    auto centred = [&](const wxString& text, double top) {
        const double left = (40 * socketCount - kAddressRoom) / 2 + addressTextOffsetX;
        exPanelDrawing::PaintFitted(gc, text, wxRect2DDouble(left, top, kAddressRoom, 15),
                                    labelFont, status, wxALIGN_CENTRE_HORIZONTAL);
    };
    centred("IP: " + network->ipText, addressTextOffsetY + 2);
    centred("Mask: " + network->maskText, addressTextOffsetY + 14);
    gc->PopState();
    width = Scaled(40 * socketCount);
    height = Scaled(60);
    return wxSize(width, height);
}

exCanvasControl* exEthernetPort::CreateDialog(exCanvasControl* root)
{
    return new exEthernetPortDialog(root, this);
}

bool exEthernetPort::OnClick(exCanvasControl*, int, int)
{
    return exOverlay::OpenDialogOf(this,
                                   [this](exCanvasControl* root) { return CreateDialog(root); });
}
