#include "dialogs/ethernetportdialog.h"

#include <wx/arrstr.h>
#include <wx/graphics.h>

#include "common/appstate.h"
#include "common/controls/canvasbutton.h"
#include "common/controls/canvascolours.h"
#include "common/controls/canvasiptextcontrol.h"
#include "common/controls/paintfonts.h"
#include "common/controls/segmentedcontrol.h"
#include "common/controls/textmeasure.h"
#include "devices/basenode.h"
#include "devices/ethernetport.h"
#include "devices/networksettings.h"
#include "dialogs/dialogframe.h"
#include "net/ipv4.h"

namespace {

// 2.b4.b5.b6 of the MAC in 255.0.0.0 is the devices' own factory address scheme.
constexpr uint32_t kDefaultFirstOctet = 2;
constexpr uint32_t kDefaultMask = 0xFF000000;
constexpr int kEntryWidth = 95;
constexpr double kTitleX = 30.0;
constexpr double kTitleY = 10.0;

exBaseNode* DeviceOf(exEthernetPort* port)
{
    return static_cast<exBaseNode*>(port->parent);
}

} // namespace

exEthernetPortDialog::exEthernetPortDialog(exCanvasControl* root, exEthernetPort* port)
    : exCanvasControl(root, 0, 0, 0, 0, wxEmptyString), port(port), font(CanvasLabelFont())
{
    const exNetworkSettings& network = *port->network;
    // A change not yet sent is shown again, so that "OK" sends it as shown.
    const bool pending = network.state.IsEdited();
    pendingIp = pending ? network.newIp : network.currentIp;
    pendingMask = pending ? network.newMask : network.currentMask;
    pendingDhcp = pending ? network.newDhcp : network.currentDhcp;
    const int labelWidth = MeasureText(font, "Subnet Mask").GetWidth();
    const int entryX = int(labelWidth / displayScale) + 30;

    wxArrayString modes;
    modes.Add("Manual");
    modes.Add("DHCP");
    // The selector's minimum size is given in pixels and scaled once more by the control.
    dhcpSelector = new exCanvasSegementedControl(this, modes, pendingDhcp ? kDhcp : kManual, 60, 30,
                                                 Scaled(40), Scaled(20));
    okButton = new exCanvasButton(this, 20, 120, 40, 20, "OK");
    defaultButton = new exCanvasButton(this, entryX, 120, kEntryWidth, 20, "Set to Default");
    addressEntry =
        new exCanvasIPTextControl(this, FormatIpAddress(pendingIp), entryX, 60, kEntryWidth, 20);
    maskEntry =
        new exCanvasIPTextControl(this, FormatIpAddress(pendingMask), entryX, 90, kEntryWidth, 20);
    children->Append(dhcpSelector);
    children->Append(okButton);
    children->Append(defaultButton);
    children->Append(addressEntry);
    children->Append(maskEntry);

    width = int(labelWidth * displayScale) + 50 + kEntryWidth;
    height = Scaled(150);
    ApplyDhcpMode(pendingDhcp);
}

wxSize exEthernetPortDialog::Paint(wxGraphicsContext* gc)
{
    exDialogFrame::Paint(gc, *this, "Configure network settings", kTitleX, kTitleY + textOffset);
    exPaintFonts::Select(*gc, font, exCanvasColours::kLightGrey);
    gc->DrawText("IP Address", Scaled(20), Scaled(65) + textOffset);
    gc->DrawText("Subnet Mask", Scaled(20), Scaled(95) + textOffset);
    return wxSize(width, height);
}

bool exEthernetPortDialog::OnClick(exCanvasControl* source, int x, int y)
{
    if (source == okButton) {
        exDialogFrame::CloseByOk(this, [this] { Commit(); });
        return true;
    }
    if (source == defaultButton) {
        SetToDefault();
        return true;
    }
    if (source == dhcpSelector) {
        pendingDhcp = dhcpSelector->GetSelection() != kManual;
        ApplyDhcpMode(pendingDhcp);
        return true;
    }
    if (source == addressEntry) {
        // A press on the entry only focuses it; its typed changes arrive at (0, 0).
        if (x != 0 || y != 0)
            return false;
        if (const uint32_t ip = ParseDottedQuad(addressEntry->text))
            pendingIp = ip;
        return true;
    }
    if (source == maskEntry) {
        if (const uint32_t mask = ParseDottedQuad(maskEntry->text))
            pendingMask = mask;
        return true;
    }
    return false;
}

void exEthernetPortDialog::ApplyDhcpMode(bool dhcp)
{
    dhcpSelector->SetSelection(dhcp ? kDhcp : kManual);
    addressEntry->SetEnabled(!dhcp);
    maskEntry->SetEnabled(!dhcp);
    // Typed characters go to the focused control whether or not it is enabled: a greyed entry
    // must not keep the keyboard.
    exCanvasControl* root = GetRoot();
    if (dhcp && (root->focusedControl == addressEntry || root->focusedControl == maskEntry)) {
        root->focusedControl->hasFocus = false;
        root->focusedControl = nullptr;
    }
    SetDirty();
}

void exEthernetPortDialog::SetToDefault()
{
    const exNetworkSettings& network = *port->network;
    pendingDhcp = false;
    pendingMask = kDefaultMask;
    pendingIp = kDefaultFirstOctet << 24 | uint32_t(network.mac[3]) << 16 |
                uint32_t(network.mac[4]) << 8 | uint32_t(network.mac[5]);
    ApplyDhcpMode(false);
    addressEntry->SetText(FormatIpAddress(pendingIp));
    maskEntry->SetText(FormatIpAddress(pendingMask));
}

void exEthernetPortDialog::Commit()
{
    exBaseNode* device = DeviceOf(port);
    exNetworkSettings& network = *port->network;
    network.newIp = pendingIp;
    network.newMask = pendingMask;
    network.newDhcp = pendingDhcp;
    network.state.Edit();
    device->modified = true;
    if (exAppState::autoSend)
        device->SendNetworkSettings();
}
