#include "dialogs/dialogframe.h"

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#include "common/controls/canvascontrol.h"
#include "common/controls/paintfonts.h"
#include "common/controls/textmeasure.h"
#include "common/overlay.h"

void exDialogFrame::Paint(wxGraphicsContext* gc, const exCanvasControl& dialog,
                          const wxString& title, double titleX, double titleY)
{
    gc->SetBrush(*wxBLACK_BRUSH);
    gc->SetPen(wxPen(*wxWHITE, 2, wxPENSTYLE_SOLID));
    gc->DrawRectangle(0, 0, dialog.width, dialog.height);
    const wxFont font = CanvasLabelFont();
    exPaintFonts::Select(*gc, font, *wxWHITE);
    if (titleX == kCentred)
        titleX = (dialog.width - MeasureTextExtent(*gc, font, title).width) / 2;
    gc->DrawText(title, titleX, titleY);
}

void exDialogFrame::CloseByOk(exCanvasControl* dialog, const std::function<void()>& commit)
{
    exCanvasControl* root = dialog->GetRoot();
    root->dirty = true;
    exOverlay::Dismiss(root);
    if (commit)
        commit();
}
