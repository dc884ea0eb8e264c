#pragma once

#include <wx/arrstr.h>
#include <wx/font.h>

#include "common/controls/canvascontrol.h"

class exCanvasButton;

// A drawn message over the rack: a title, some lines of text and "OK". What saving and loading
// a rig have to say, failures included, is shown this way.
class exMessageDialog : public exCanvasControl {
public:
    // Lines longer than this many characters are cut with "...", and at most kMaxLines show.
    static constexpr size_t kMaxLineLength = 96;
    static constexpr size_t kMaxLines = 16;

    exMessageDialog(exCanvasControl* root, const wxString& title, const wxArrayString& lines);

    // Opens a message over the canvas of `origin`, replacing any open dialog.
    static exMessageDialog* Show(exCanvasControl* origin, const wxString& title,
                                 const wxArrayString& lines);

    wxSize Paint(wxGraphicsContext* gc) override;
    bool OnClick(exCanvasControl* source, int x, int y) override;
    // Return and Escape close the message as "OK" does.
    void OnChar(wxChar character) override;

    wxString title;
    wxArrayString lines;
    exCanvasButton* okButton;
    wxFont font;
};
