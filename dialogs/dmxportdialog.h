#pragma once

#include "common/controls/canvascontrol.h"

class exCanvasButton;
class exCanvasHexKeyboard;
class exCanvasSegementedControl;
class exCanvasTextControl;
class exDMXPort;

// Edits one DMX port's mode, protocol and universe. The dialog keeps what is being edited
// itself: a device read back while the dialog is open rewrites its ports, and what is sent must
// be what the dialog shows. "OK" writes the values into the port, marks it and its device as
// changed and, with immediate sending on, programs the port at once.
class exDMXPortDialog : public exCanvasControl
{
public:
    exDMXPortDialog(exCanvasControl* root, exDMXPort* port);

    wxSize Paint(wxGraphicsContext* gc) override;
    bool OnClick(exCanvasControl* source, int x, int y) override;
    int FilterChar(wxChar character) override;

    // The plug-in module's bay of a module port: 1 gives the letter A in the title, 0 none.
    void SetBay(int newBay) { bay = newBay; }
    wxString GetTitle() const;

    exDMXPort* port;
    exCanvasSegementedControl* modeSelector;
    exCanvasSegementedControl* protocolSelector;
    exCanvasButton* okButton;
    exCanvasHexKeyboard* keyboard;
    exCanvasTextControl* universeEntry;
    bool firstKeyClears = true;
    int bay = 0;
    // What "OK" will write into the port.
    int pendingMode;
    int pendingProtocol;
    int pendingUniverse;

private:
    // Extends the universe by one character by the port protocol's rule; false when refused,
    // in which case nothing has changed.
    bool AppendUniverseCharacter(wxChar character);
    // Brings the universe into the range of a newly chosen protocol and shows it in its form.
    void ReformatUniverse();
    void PressKey(int key);
    void Commit();
    void SetUniverse(int universe, const wxString& text);
};
