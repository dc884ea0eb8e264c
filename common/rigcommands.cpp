#include "common/rigcommands.h"

#include <string>
#include <vector>

#include <wx/filedlg.h>
#include <wx/filename.h>

#include "common/appstate.h"
#include "common/controlpanel.h"
#include "common/overlay.h"
#include "common/rackpanel.h"
#include "dialogs/messagedialog.h"
#include "discovery/deviceregistry.h"
#include "rig/rig.h"
#include "rig/rigfile.h"
#include "rig/rigjson.h"

namespace {

constexpr const char* kSaveTitle = "Save Rig";
constexpr const char* kLoadTitle = "Load Rig";
constexpr const char* kFileTypes = "Rig files (*.rigwise.json)|*.rigwise.json|All files (*)|*";

wxString FileNameOf(const wxString& path)
{
    return wxFileName(path).GetFullName();
}

wxString AskForPath(wxWindow* parent, const wxString& title, const wxString& suggested, long style)
{
    wxFileDialog dialog(parent, title, wxEmptyString, suggested, kFileTypes, style);
    return dialog.ShowModal() == wxID_OK ? dialog.GetPath() : wxString();
}

wxString Plural(size_t count, const char* one, const char* many)
{
    return wxString::Format("%zu %s", count, count == 1 ? one : many);
}

void AddList(wxArrayString& lines, const wxString& heading, const std::vector<std::string>& list)
{
    if (list.empty())
        return;
    lines.Add(heading);
    for (const std::string& entry : list)
        lines.Add("    " + wxString::FromUTF8(entry));
}

} // namespace

exRigCommands::exRigCommands(exRackPanel* rack, exControlPanel* controls)
    : rack(rack), controls(controls)
{
    askSavePath = [rack](const wxString& suggested) {
        return AskForPath(rack, kSaveTitle, suggested, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    };
    askLoadPath = [rack] {
        return AskForPath(rack, kLoadTitle, wxEmptyString, wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    };
    now = [] { return wxDateTime::Now(); };
}

void exRigCommands::SaveRig()
{
    const wxString path = askSavePath(exRigFile::SuggestedName(now()));
    if (!path.empty())
        SaveTo(path);
}

void exRigCommands::LoadRig()
{
    const wxString path = askLoadPath();
    if (!path.empty())
        LoadFrom(path);
}

bool exRigCommands::SaveTo(const wxString& path)
{
    std::vector<exBaseNode*> devices;
    rack->CollectDevices(devices, true);
    int leftOut = 0;
    const std::string savedAt = now().ToUTC().FormatISOCombined().utf8_string() + "Z";
    const exRigDocument document = exRig::Take(devices, savedAt, leftOut);
    if (document.devices.empty()) {
        Tell(kSaveTitle,
             wxArrayString(1, leftOut > 0 ? "No device has been read back yet: nothing saved."
                                          : "There is no device to save."));
        return false;
    }
    wxString problem;
    if (!exRigFile::WriteAtomically(path, exRigJson::Write(document), problem)) {
        Tell(kSaveTitle, wxArrayString(1, problem));
        return false;
    }
    wxArrayString lines;
    lines.Add("Saved " + Plural(document.devices.size(), "device", "devices") + " to " +
              FileNameOf(path) + ".");
    if (leftOut > 0)
        lines.Add(Plural(size_t(leftOut), "device", "devices") +
                  " not yet read back left out; save again when they are.");
    Tell(kSaveTitle, lines);
    return true;
}

bool exRigCommands::LoadFrom(const wxString& path)
{
    std::string text;
    exRigDocument document;
    wxString problem;
    if (!exRigFile::ReadWhole(path, text, problem) || !exRigJson::Read(text, document, problem)) {
        wxArrayString lines;
        lines.Add(FileNameOf(path) + " was not loaded; nothing has changed.");
        lines.Add(problem);
        Tell(kLoadTitle, lines);
        return false;
    }
    // An open settings dialog would write its own values over the loaded ones with its "OK".
    exOverlay::Dismiss(rack->root);
    exDeviceRegistry registry(rack->root);
    const exRigLoadSummary summary =
        exRig::Restore(document, [&registry](uint16_t model, uint16_t unit) {
            return registry.FindByKey(model, unit);
        });

    wxArrayString lines;
    lines.Add("Loaded " + FileNameOf(path) + ": " +
              Plural(size_t(summary.matched), "device", "devices") + " of " +
              wxString::Format("%zu", document.devices.size()) + " found on the network.");
    if (summary.differing == 0) {
        lines.Add("Every value is as saved: nothing to send.");
    } else {
        lines.Add(Plural(size_t(summary.differing), "value differs", "values differ") +
                  ", drawn in red; press Update to send them.");
        if (exAppState::autoSend && controls) {
            // Nothing goes out before "Update": a dialog's "OK" would otherwise send part of it.
            controls->SetAutoUpdate(false);
            lines.Add("Auto Update is now off.");
        }
    }
    AddList(lines, "Not on the network:", summary.absent);
    AddList(lines, "Still being read back (load again when they are done):", summary.waiting);
    AddList(lines, "Left as they are (no dialog can set these):", summary.notApplied);
    Tell(kLoadTitle, lines);
    rack->root->dirty = true;
    rack->Refresh();
    return true;
}

void exRigCommands::Tell(const wxString& title, const wxArrayString& lines)
{
    exMessageDialog::Show(rack->root, title, lines);
    rack->Refresh();
}
