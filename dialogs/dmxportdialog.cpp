#include "dialogs/dmxportdialog.h"

#include <algorithm>

#include <wx/arrstr.h>

#include "common/appstate.h"
#include "common/controls/canvasbutton.h"
#include "common/controls/canvastextcontrol.h"
#include "common/controls/hexkeyboard.h"
#include "common/controls/keys.h"
#include "common/controls/segmentedcontrol.h"
#include "devices/basenode.h"
#include "devices/dmxport.h"
#include "dialogs/dialogframe.h"
#include "net/universecode.h"

namespace {

constexpr int kKeyboardWidth = 175;
constexpr double kTitleY = 10.0;

} // namespace

exDMXPortDialog::exDMXPortDialog(exCanvasControl* root, exDMXPort* port)
    : exCanvasControl(root, 0, 0, 0, 0, wxEmptyString), port(port), pendingMode(port->mode),
      pendingProtocol(port->protocol), pendingUniverse(port->universe)
{
    wxArrayString modes;
    modes.Add("Disabled");
    modes.Add("Input");
    if (!port->optionFlag)
        modes.Add("Output");
    // The mode selector's minimum size is given in pixels and scaled once more by the control.
    modeSelector =
        new exCanvasSegementedControl(this, modes, port->mode, 20, 30, Scaled(40), Scaled(20));
    wxArrayString protocols;
    protocols.Add("Art-Net");
    protocols.Add("sACN");
    protocols.Add("Shownet");
    protocolSelector =
        new exCanvasSegementedControl(this, protocols, port->protocol, 20, 60, 40, 20);
    okButton = new exCanvasButton(this, 22, 310, 40, 40, "OK");

    modeSelector->Measure();
    protocolSelector->Measure();
    // Without "Output" the mode selector is narrower than the protocol selector: the dialog is
    // as wide as the widest of its rows, so that nothing sticks out of its frame.
    width = Scaled(40) +
            std::max({modeSelector->width, protocolSelector->width, Scaled(kKeyboardWidth)});
    height = Scaled(360);

    keyboard = new exCanvasHexKeyboard(this, 0, 0);
    keyboard->x = (width - Scaled(kKeyboardWidth)) / 2;
    keyboard->y = Scaled(120);
    universeEntry =
        new exCanvasTextControl(this, exUniverseCode::EntryText(port->protocol, port->universe),
                                int(keyboard->x / displayScale), 90, kKeyboardWidth, 20);

    children->Append(modeSelector);
    children->Append(protocolSelector);
    children->Append(okButton);
    children->Append(keyboard);
    children->Append(universeEntry);
}

wxString exDMXPortDialog::GetTitle() const
{
    if (bay == 0)
        return wxString::Format("Set Universe for Port %d", port->portNumber + 1);
    // Numbered within the module 1..16 as the port itself is labelled.
    return wxString::Format("Set Universe for Port %c-%d", wxChar('A' + bay - 1),
                            (port->portNumber & 15) + 1);
}

wxSize exDMXPortDialog::Paint(wxGraphicsContext* gc)
{
    exDialogFrame::Paint(gc, *this, GetTitle(), exDialogFrame::kCentred, kTitleY);
    return wxSize(width, height);
}

bool exDMXPortDialog::OnClick(exCanvasControl* source, int, int)
{
    if (source == okButton) {
        exDialogFrame::CloseByOk(this, [this] { Commit(); });
        return true;
    }
    if (source == modeSelector) {
        pendingMode = modeSelector->GetSelection();
        SetDirty();
        return true;
    }
    if (source == protocolSelector) {
        pendingProtocol = protocolSelector->GetSelection();
        ReformatUniverse();
        return true;
    }
    if (source == keyboard) {
        const int key = keyboard->lastKey;
        keyboard->lastKey = -1;
        if (key >= 0 && key < exCanvasHexKeyboard::kKeyCount)
            PressKey(key);
        return true;
    }
    return false;
}

int exDMXPortDialog::FilterChar(wxChar character)
{
    if (GetRoot()->focusedControl != universeEntry)
        return -1;
    AppendUniverseCharacter(character);
    SetDirty();
    return 0;
}

void exDMXPortDialog::PressKey(int key)
{
    const wxChar character = key <= 9 ? wxChar('0' + key) : wxChar('A' + key - 10);
    const int savedUniverse = pendingUniverse;
    const wxString savedText = universeEntry->text;
    if (firstKeyClears) {
        firstKeyClears = false;
        pendingUniverse = 0;
        universeEntry->text.clear();
    }
    if (!AppendUniverseCharacter(character))
        SetUniverse(savedUniverse, savedText);
    SetDirty();
}

bool exDMXPortDialog::AppendUniverseCharacter(wxChar character)
{
    wxString& text = universeEntry->text;
    const int universe = std::max(pendingUniverse, 0);
    switch (pendingProtocol) {
    case exUniverseCode::kArtNet: {
        const int value = exKeys::HexValue(character);
        if (value < 0)
            return false;
        if (text.length() == 3)
            text.clear();
        if (text.empty()) {
            SetUniverse(value, wxString(character));
        } else if (text.length() == 1) {
            // The first digit is the high one; masking keeps the universe within 0..255 even
            // if the text and the universe ever disagreed.
            const int twoDigits = (universe & 15) * 16 + value;
            SetUniverse(twoDigits, exUniverseCode::EntryText(pendingProtocol, twoDigits));
        }
        return true;
    }
    case exUniverseCode::kSacn: {
        if (!exKeys::IsDigit(character))
            return false;
        const int digit = character - '0';
        const long long next = universe * 10LL + digit;
        if (exUniverseCode::InRange(pendingProtocol, int(next)))
            SetUniverse(int(next), exUniverseCode::EntryText(pendingProtocol, int(next)));
        else if (digit == 0)
            return false;
        else
            SetUniverse(digit, wxString(character));
        return true;
    }
    case exUniverseCode::kShownet: {
        if (!exKeys::IsDigit(character))
            return false;
        const long long next = universe * 10LL + (character - '0');
        if (!exUniverseCode::InRange(pendingProtocol, int(next)))
            SetUniverse(0, wxString());
        else
            SetUniverse(int(next), exUniverseCode::EntryText(pendingProtocol, int(next)));
        return true;
    }
    default:
        return true;
    }
}

void exDMXPortDialog::ReformatUniverse()
{
    if (pendingProtocol == exUniverseCode::kNotSet)
        return;
    const int universe = exUniverseCode::Clamp(pendingProtocol, pendingUniverse);
    SetUniverse(universe, exUniverseCode::EntryText(pendingProtocol, universe, true));
}

void exDMXPortDialog::SetUniverse(int universe, const wxString& text)
{
    pendingUniverse = universe;
    universeEntry->SetText(text);
}

void exDMXPortDialog::Commit()
{
    pendingUniverse = exUniverseCode::Sendable(pendingProtocol, pendingUniverse);
    port->mode = pendingMode;
    port->protocol = pendingProtocol;
    port->universe = pendingUniverse;
    exBaseNode* device = port->GetDevice();
    port->state.Edit();
    device->modified = true;
    if (device->host)
        device->host->modified = true;
    if (exAppState::autoSend)
        device->ProgramPort(port);
}
