#pragma once

#include <functional>

#include <wx/string.h>

class exCanvasControl;
class wxGraphicsContext;

// What the four settings dialogs share: the black frame with its white title, and closing by
// "OK" (retire the dialog, set the marks and send, give up the keyboard focus).
class exDialogFrame {
public:
    static constexpr int kCentred = -1;

    // The frame over the dialog's extent and the title in the 10-point bold white font, centred
    // when `titleX` is kCentred. Positions are pixels relative to the dialog.
    static void Paint(wxGraphicsContext* gc, const exCanvasControl& dialog, const wxString& title,
                      double titleX, double titleY);

    // Closes `dialog` as its "OK" button does: the canvas is marked for repaint, the dialog
    // becomes the retired overlay (deleted at the next open or close, never inside its own
    // handler), `commit` sets the modified marks and sends when immediate sending is on, and the
    // focused control loses the focus.
    static void CloseByOk(exCanvasControl* dialog, const std::function<void()>& commit);
};
