#pragma once

#include <functional>

#include <wx/arrstr.h>
#include <wx/datetime.h>
#include <wx/string.h>

class exControlPanel;
class exRackPanel;

// "Save Rig" and "Load Rig": the rack's settings into a rig file and back as pending edits, with
// the desktop's file dialog and a drawn message over the rack for the outcome.
class exRigCommands {
public:
    exRigCommands(exRackPanel* rack, exControlPanel* controls);

    // Ask for a file, then save to or load from it; a cancelled file dialog does nothing.
    void SaveRig();
    void LoadRig();
    // The same without the file dialog. True when the file was written, or read and applied.
    bool SaveTo(const wxString& path);
    bool LoadFrom(const wxString& path);

    // The file dialogs; an empty path means cancelled. Tests put answers here.
    std::function<wxString(const wxString& suggestedName)> askSavePath;
    std::function<wxString()> askLoadPath;
    std::function<wxDateTime()> now;

private:
    void Tell(const wxString& title, const wxArrayString& lines);

    exRackPanel* rack;
    exControlPanel* controls;
};
