#include "dialogs/switchportdialog.h"

#include <cstdio>

#include <wx/graphics.h>

#include "common/appstate.h"
#include "common/controls/canvasbutton.h"
#include "common/controls/canvascolours.h"
#include "common/controls/canvastextcontrol.h"
#include "common/controls/keys.h"
#include "common/controls/numberkeyboard.h"
#include "common/controls/paintfonts.h"
#include "common/controls/segmentedcontrol.h"
#include "common/controls/textmeasure.h"
#include "devices/basenode.h"
#include "devices/switchport.h"
#include "dialogs/dialogframe.h"

namespace {

exCanvasTextControl* MakeEntry(exCanvasControl* dialog, const wxString& text, int x, int y)
{
    auto* entry = new exCanvasTextControl(dialog, text, x, y, 95, 20);
    entry->disabledFill = exCanvasColours::kDisabledEntryFill;
    dialog->children->Append(entry);
    return entry;
}
} // namespace

exSwitchPortDialog::exSwitchPortDialog(exCanvasControl* root, exSwitchPort* port)
    : exCanvasControl(root, 0, 0, 0, 0, wxEmptyString), port(port),
      device(dynamic_cast<exBaseNode*>(port->parent)), font(CanvasLabelFont()),
      oldPartner(port->loopPartner), pendingMode(port->mode), pendingSpeed(port->speed),
      pendingVlan(port->vlan), pendingPartner(port->loopPartner)
{
    const float s = displayScale;
    if (port->speedSelectable) {
        wxArrayString speeds;
        speeds.Add("Auto");
        speeds.Add("10");
        speeds.Add("100");
        if (port->hasSfp)
            speeds.Add("SFP");
        speedSelector = new exCanvasSegementedControl(this, speeds, port->speed, 20, 30, Scaled(40),
                                                      Scaled(20));
        children->Append(speedSelector);
    }
    wxArrayString modes;
    modes.Add("Disabled");
    modes.Add("Normal");
    modes.Add(port->trunkCapable ? "Trunk/Loop" : "Loop");
    modeSelector = new exCanvasSegementedControl(this, modes, port->mode, 20, 60, 250, 20);
    modeSelector->Measure();
    // Both selectors get the width of the wider mode labels.
    modeSelector->designWidth = modeSelector->width;
    modeSelector->designHeight = modeSelector->height;
    children->Append(modeSelector);
    if (speedSelector) {
        speedSelector->designWidth = modeSelector->width;
        speedSelector->designHeight = modeSelector->height;
        speedSelector->Measure();
    }

    width = Scaled(40) + modeSelector->width;
    height = Scaled(290);

    keyboard = new exCanvasNumberKeyboard(this, 0, 0);
    // Centred as if 60 wide, which puts the keypad a little right of the middle.
    keyboard->x = int((width - 60 * s) * 0.5);
    keyboard->y = Scaled(150);
    children->Append(keyboard);

    const int entryX = int(keyboard->x / s);
    partnerEntry = MakeEntry(this, wxEmptyString, entryX, 90);
    partnerEntry->SetEnabled(false);
    if (port->trunkCapable)
        vlanEntry = MakeEntry(this, wxString::Format("%d", port->vlan), entryX, 120);

    okButton = new exCanvasButton(this, 20, 260, 40, 20, "OK");
    children->Append(okButton);

    ApplyEntryRule();
}

wxSize exSwitchPortDialog::Paint(wxGraphicsContext* gc)
{
    const float s = displayScale;
    exDialogFrame::Paint(gc, *this, "Configure switch port " + port->label, exDialogFrame::kCentred,
                         10);
    exPaintFonts::Select(*gc, font, exCanvasColours::kLightGrey);
    gc->DrawText("Loop Partner", 20 * s, 95 * s + textOffset);
    if (port->trunkCapable)
        gc->DrawText("VLAN", 20 * s, 125 * s + textOffset);
    return wxSize(width, height);
}

void exSwitchPortDialog::MoveFocusOff(exCanvasTextControl* entry, exCanvasTextControl* to)
{
    exCanvasControl* root = GetRoot();
    if (root->focusedControl != entry)
        return;
    if (to) {
        GiveFocus(to);
    } else {
        entry->hasFocus = false;
        root->focusedControl = nullptr;
    }
}

void exSwitchPortDialog::ApplyEntryRule()
{
    if (pendingMode == exSwitchPort::kTrunkOrLoop) {
        partnerEntry->SetEnabled(true);
        if (vlanEntry) {
            MoveFocusOff(vlanEntry, partnerEntry);
            vlanEntry->SetEnabled(false);
        }
        if (pendingPartner != 0)
            partnerEntry->SetText(wxString::Format("%d", pendingPartner));
    } else {
        if (vlanEntry)
            vlanEntry->SetEnabled(true);
        // Without a VLAN entry nothing can take the focus over: the dialog keeps none.
        MoveFocusOff(partnerEntry, vlanEntry);
        partnerEntry->SetEnabled(false);
        partnerEntry->SetText(wxEmptyString);
    }
    SetDirty();
}

bool exSwitchPortDialog::OnClick(exCanvasControl* source, int, int)
{
    if (source == okButton) {
        exDialogFrame::CloseByOk(this, [this] {
            port->mode = pendingMode;
            port->speed = pendingSpeed;
            port->vlan = pendingVlan;
            port->loopPartner = pendingPartner;
            SettleLoop();
            device->modified = true;
            port->state.Edit();
            if (exAppState::autoSend)
                device->SendSwitchSettings();
        });
        return true;
    }
    if (source == modeSelector) {
        const int selection = modeSelector->GetSelection();
        if (selection >= exSwitchPort::kDisabled && selection <= exSwitchPort::kTrunkOrLoop) {
            pendingMode = selection;
            ApplyEntryRule();
        }
        return true;
    }
    if (speedSelector && source == speedSelector) {
        pendingSpeed = speedSelector->GetSelection();
        return true;
    }
    if (source == keyboard) {
        const int key = keyboard->lastKey;
        keyboard->lastKey = -1;
        if (key >= 0 && key < exCanvasNumberKeyboard::kKeyCount)
            FilterChar(wxChar('0' + (key + 1) % 10));
        return true;
    }
    return false;
}

int exSwitchPortDialog::FilterChar(wxChar character)
{
    exCanvasControl* focused = GetRoot()->focusedControl;
    if (vlanEntry && focused == vlanEntry) {
        ApplyVlanKey(character);
        return 0;
    }
    if (focused == partnerEntry) {
        ApplyPartnerKey(character);
        return 0;
    }
    return -1;
}

void exSwitchPortDialog::ApplyVlanKey(wxChar character)
{
    // Any other key leaves the VLAN as it is, so it never passes through 0 or an empty entry.
    if (character != exKeys::kBackspace && !exKeys::IsDigit(character))
        return;
    const int typed = firstKeyClears ? 0 : pendingVlan;
    firstKeyClears = false;
    int vlan;
    if (character == exKeys::kBackspace) {
        vlan = typed / 10;
    } else {
        const int digit = character - '0';
        vlan = typed * 10 + digit;
        if (vlan > kMaxVlan)
            vlan = digit;
    }
    if (vlan == 0)
        vlan = 1;
    pendingVlan = vlan;
    vlanEntry->SetText(wxString::Format("%d", vlan));
}

void exSwitchPortDialog::ApplyPartnerKey(wxChar character)
{
    if (firstKeyClears || character == exKeys::kBackspace) {
        firstKeyClears = false;
        pendingPartner = 0;
        partnerEntry->SetText(wxEmptyString);
        return;
    }
    if (!exKeys::IsDigit(character))
        return;
    const int digit = character - '0';
    if (digit == 0 && pendingPartner == 0)
        return;
    int partner = pendingPartner * 10 + digit;
    if (partner > PortCount()) {
        // The entry starts over with this digit, unless the switch has no such port either.
        if (digit > PortCount())
            return;
        partner = digit;
    }
    pendingPartner = partner;
    partnerEntry->SetText(wxString::Format("%d", partner));
}

int exSwitchPortDialog::PortCount() const
{
    return device ? int(device->switchPorts.size()) : 0;
}

exSwitchPort* exSwitchPortDialog::PortNumbered(int number) const
{
    if (number < 1 || number > PortCount())
        return nullptr;
    return device->switchPorts[size_t(number - 1)];
}

bool exSwitchPortDialog::Release(int number, int from)
{
    exSwitchPort* other = PortNumbered(number);
    if (!other || other->mode != exSwitchPort::kTrunkOrLoop || other->loopPartner != from)
        return false;
    other->mode = exSwitchPort::kNormal;
    other->loopPartner = 0;
    other->state.Edit();
    return true;
}

void exSwitchPortDialog::SettleLoop()
{
    const int self = port->portIndex + 1;
    if (port->vlan == 0)
        port->vlan = 1;
    if (port->loopPartner == self || !PortNumbered(port->loopPartner))
        port->loopPartner = 0;
    const int partner = port->loopPartner;
    const int previous = oldPartner != self && PortNumbered(oldPartner) ? oldPartner : 0;

    if (port->mode != exSwitchPort::kTrunkOrLoop || partner == 0) {
        // The port loops with nobody now: whoever looped with it goes back to normal.
        if (partner != 0)
            Release(partner, self);
        if (previous != partner && Release(previous, self))
            std::printf("Set Old Partner to Normal\n");
        std::fflush(stdout);
        return;
    }

    exSwitchPort* newPartner = PortNumbered(partner);
    if (newPartner->mode == exSwitchPort::kTrunkOrLoop && newPartner->loopPartner != 0 &&
        newPartner->loopPartner != self && Release(newPartner->loopPartner, partner))
        std::printf("Set Old Partner From Partner to Normal\n");
    if (previous != partner && Release(previous, self))
        std::printf("Set Old Partner to Normal\n");
    std::printf("Set new Partner to Loop\n");
    newPartner->loopPartner = self;
    newPartner->mode = exSwitchPort::kTrunkOrLoop;
    newPartner->state.Edit();
    std::fflush(stdout);
}
