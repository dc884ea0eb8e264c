#include "common/controls/switchandbutton.h"

#include <wx/graphics.h>

#include "common/controls/canvasbutton.h"
#include "common/controls/canvascolours.h"
#include "common/controls/canvasswitch.h"
#include "common/controls/paintfonts.h"
#include "common/controls/textmeasure.h"

namespace {

constexpr int kPartWidth = 60;
constexpr int kPartHeight = 20;
constexpr int kSwitchGap = 10;
constexpr int kButtonOffset = 80;

} // namespace

exCanvasSwitchAndButton::exCanvasSwitchAndButton(exCanvasControl* parent, int x, int y, int width,
                                                 int height, const wxString& label)
    : exCanvasControl(parent, x, y, width, height, label)
{
    switchControl = new exCanvasSwitch(this, true, 0, 0, kPartWidth, kPartHeight);
    button = new exCanvasButton(this, 0, 0, kPartWidth, kPartHeight, label);
    button->SetEnabled(false);
    children->Append(switchControl);
    children->Append(button);
    for (exCanvasControl* part : {static_cast<exCanvasControl*>(switchControl),
                                  static_cast<exCanvasControl*>(button)}) {
        part->normalFill = exCanvasColours::kLightGrey;
        part->hoverFill = exCanvasColours::kLightGrey;
        part->normalText = *wxBLACK;
    }
}

wxSize exCanvasSwitchAndButton::Paint(wxGraphicsContext* gc)
{
    const wxString caption = "Auto " + label;
    const wxFont font = CanvasLabelFont();
    exPaintFonts::Select(*gc, font, exCanvasColours::kPairCaption);
    if (cachedTextWidth == -1.0) {
        const exTextExtent extent = MeasureTextExtent(*gc, font, caption);
        cachedTextWidth = extent.width;
        cachedTextHeight = extent.height;
        // Placed once, beside the caption as it measured.
        switchControl->x = int(cachedTextWidth + kSwitchGap * displayScale);
        button->x = int(cachedTextWidth + kButtonOffset * displayScale);
        switchControl->y = 0;
        button->y = 0;
    }
    gc->DrawText(caption, 0, 3.0);
    width = int(switchControl->width + cachedTextWidth + button->width + 20 * displayScale);
    height = int(kPartHeight * displayScale);
    return wxSize(width, height);
}

bool exCanvasSwitchAndButton::OnClick(exCanvasControl* source, int, int)
{
    if (source != switchControl)
        return false;
    button->SetEnabled(!switchControl->on);
    return true;
}
