#include "dialogs/messagedialog.h"

#include <algorithm>

#include <wx/graphics.h>

#include "common/controls/canvasbutton.h"
#include "common/controls/keys.h"
#include "common/controls/paintfonts.h"
#include "common/controls/textmeasure.h"
#include "common/overlay.h"
#include "dialogs/dialogframe.h"

namespace {

constexpr int kMargin = 20;
constexpr int kTitleTop = 10;
constexpr int kFirstLine = 40;
constexpr int kLinePitch = 18;
constexpr int kButtonWidth = 40;
constexpr int kButtonHeight = 20;
constexpr int kMinWidth = 240;

wxArrayString Fitted(const wxArrayString& lines)
{
    wxArrayString fitted;
    for (size_t i = 0; i < lines.size() && i < exMessageDialog::kMaxLines; ++i) {
        wxString line = lines[i];
        // Whatever a line holds is drawn as text on one line.
        for (wxString::iterator c = line.begin(); c != line.end(); ++c)
            if (*c < ' ' || *c == 0x7f)
                *c = ' ';
        if (line.length() > exMessageDialog::kMaxLineLength)
            line = line.Left(exMessageDialog::kMaxLineLength - 3) + "...";
        fitted.Add(line);
    }
    if (lines.size() > exMessageDialog::kMaxLines)
        fitted.Last() = wxString::Format("... and %zu more", lines.size() - fitted.size() + 1);
    return fitted;
}

} // namespace

exMessageDialog::exMessageDialog(exCanvasControl* root, const wxString& title,
                                 const wxArrayString& lines)
    : exCanvasControl(root, 0, 0, 0, 0, wxEmptyString), title(title), lines(Fitted(lines)),
      font(CanvasLabelFont())
{
    int widest = std::max(Scaled(kMinWidth), MeasureText(font, title).x);
    for (const wxString& line : this->lines)
        widest = std::max(widest, MeasureText(font, line).x);
    width = widest + Scaled(2 * kMargin);
    const int buttonTop = kFirstLine + int(this->lines.size()) * kLinePitch + 10;
    height = Scaled(buttonTop + kButtonHeight + kMargin);
    // Return and Escape reach the message while it has the keyboard.
    takesFocus = true;
    okButton = new exCanvasButton(this, (width / displayScale - kButtonWidth) / 2, buttonTop,
                                  kButtonWidth, kButtonHeight, "OK");
    children->Append(okButton);
}

exMessageDialog* exMessageDialog::Show(exCanvasControl* origin, const wxString& title,
                                       const wxArrayString& lines)
{
    exCanvasControl* root = origin->GetRoot();
    // A dialog already open goes without its "OK": the message takes its place.
    exOverlay::Dismiss(root);
    auto* message = new exMessageDialog(root, title, lines);
    exOverlay::Open(root, message);
    root->GiveFocus(message);
    return message;
}

wxSize exMessageDialog::Paint(wxGraphicsContext* gc)
{
    const float s = displayScale;
    exDialogFrame::Paint(gc, *this, title, exDialogFrame::kCentred, kTitleTop * s);
    exPaintFonts::Select(*gc, font, *wxWHITE);
    for (size_t i = 0; i < lines.size(); ++i)
        gc->DrawText(lines[i], kMargin * s, (kFirstLine + int(i) * kLinePitch) * s);
    return wxSize(width, height);
}

bool exMessageDialog::OnClick(exCanvasControl* source, int, int)
{
    if (source != okButton)
        return false;
    exDialogFrame::CloseByOk(this, nullptr);
    return true;
}

void exMessageDialog::OnChar(wxChar character)
{
    if (character == exKeys::kReturn || character == exKeys::kEscape)
        exDialogFrame::CloseByOk(this, nullptr);
}
