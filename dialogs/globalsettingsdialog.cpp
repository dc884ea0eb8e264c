#include "dialogs/globalsettingsdialog.h"

#include <algorithm>
#include <iterator>

#include <wx/graphics.h>

#include "common/appstate.h"
#include "common/controls/canvasbutton.h"
#include "common/controls/canvasswitch.h"
#include "common/controls/canvastextcontrol.h"
#include "common/controls/keys.h"
#include "common/controls/paintfonts.h"
#include "common/controls/segmentedcontrol.h"
#include "common/controls/textmeasure.h"
#include "devices/basenode.h"
#include "devices/canvasuicontrol.h"
#include "devices/displaytimeout.h"
#include "dialogs/dialogframe.h"
#include "net/utf8text.h"

namespace {
constexpr int kRowPitch = 30;
constexpr int kEntryWidth = 210;
constexpr int kRowHeight = 20;

// The name as the device will store it: the wire field holds 17 bytes of UTF-8, so a longer
// name (a switch reports up to 18 bytes) is shown cut as it will be sent.
wxString NameAsSent(const wxString& name)
{
    return wxString::FromUTF8(EncodeUtf8Cut(name, exGlobalSettingsDialog::kNameLimit));
}

size_t Utf8Length(const wxString& text)
{
    return text.utf8_str().length();
}
} // namespace

exGlobalSettingsDialog::exGlobalSettingsDialog(exCanvasControl* root, exBaseNode* device)
    : exCanvasControl(root, 0, 0, 0, 0, wxEmptyString), device(device), font(CanvasLabelFont()),
      pendingName(NameAsSent(device->deviceName)), pendingTimeout(device->displayTimeout),
      pendingLocked(device->locked)
{
    const float s = displayScale;
    const bool hasDisplayRow = device->panelStyle >= exCanvasUIControl::kLargeDisplay;
    const bool hasLockRow = device->panelStyle >= exCanvasUIControl::kKeys;
    // Every row's control starts where the widest label, "Display", ends.
    const int labelWidth = MeasureText(font, "Display").x;
    const int column = int(labelWidth / s) + 30;

    nameEntry = new exCanvasTextControl(this, pendingName, column, 30, kEntryWidth, kRowHeight);
    children->Append(nameEntry);

    int widest = Scaled(kEntryWidth);
    int rows = 0;
    if (hasDisplayRow) {
        displaySelector = new exCanvasSegementedControl(
            this, exDisplayTimeout::Choices(), exDisplayTimeout::IndexOf(device->displayTimeout),
            column, 60, 40, Scaled(kRowHeight));
        displaySelector->Measure();
        children->Append(displaySelector);
        nameEntry->width = displaySelector->width;
        nameEntry->height = Scaled(kRowHeight);
        widest = std::max(widest, displaySelector->width);
        rows += kRowPitch;
    }
    if (hasLockRow) {
        lockSwitch = new exCanvasSwitch(this, device->locked, column, hasDisplayRow ? 90 : 60, 71,
                                        kRowHeight);
        children->Append(lockSwitch);
        rows += kRowPitch;
    }
    okButton = new exCanvasButton(this, 20, rows + 60, 40, kRowHeight, "OK");
    children->Append(okButton);

    width = Scaled(50) + widest + labelWidth;
    height = Scaled(rows + 100);
}

wxSize exGlobalSettingsDialog::Paint(wxGraphicsContext* gc)
{
    const float s = displayScale;
    exDialogFrame::Paint(gc, *this, "Node Settings", exDialogFrame::kCentred,
                         (10 + textOffset) * s);
    exPaintFonts::Select(*gc, font, *wxWHITE);
    gc->DrawText("Name", 20 * s, (35 + textOffset) * s);
    const int style = device->panelStyle;
    if (style >= exCanvasUIControl::kLargeDisplay && pendingTimeout != 0)
        gc->DrawText("Display", 20 * s, (65 + textOffset) * s);
    if (style >= exCanvasUIControl::kKeys) {
        // The lock row keeps its place under the display row even when "Display" is not shown.
        const int displayRow = style >= exCanvasUIControl::kLargeDisplay ? kRowPitch : 0;
        gc->DrawText("Lock", 20 * s, (65 + displayRow + textOffset) * s);
    }
    return wxSize(width, height);
}

bool exGlobalSettingsDialog::OnClick(exCanvasControl* source, int, int)
{
    if (source == okButton) {
        exDialogFrame::CloseByOk(this, [this] { Commit(); });
        return true;
    }
    if (source == nameEntry) {
        pendingName = nameEntry->text;
        return true;
    }
    if (displaySelector && source == displaySelector) {
        const int index = displaySelector->GetSelection();
        if (index >= 0 && index < int(std::size(exDisplayTimeout::kCodes)))
            pendingTimeout = exDisplayTimeout::kCodes[index];
        return true;
    }
    if (lockSwitch && source == lockSwitch) {
        pendingLocked = lockSwitch->on;
        return true;
    }
    return false;
}

void exGlobalSettingsDialog::Commit()
{
    device->deviceName = pendingName;
    device->displayTimeout = pendingTimeout;
    device->locked = pendingLocked;
    device->frontPanel->state.Edit();
    device->modified = true;
    if (exAppState::autoSend)
        device->SendDeviceSettings();
}

int exGlobalSettingsDialog::FilterChar(wxChar character)
{
    if (GetRoot()->focusedControl != nameEntry)
        return -1;
    // The limit is the wire field's 17 bytes, whole characters only: seventeen "ü" would not fit.
    if (character != exKeys::kBackspace &&
        Utf8Length(nameEntry->text + wxString(character)) > kNameLimit)
        return 0;
    return 1;
}
