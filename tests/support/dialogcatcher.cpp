#include "support/dialogcatcher.h"

#include <wx/msgdlg.h>

int DialogCatcher::Enter(wxDialog* dialog)
{
    Shown entry{dialog->GetTitle(), wxString()};
    if (auto* message = dynamic_cast<wxMessageDialog*>(dialog)) {
        entry.title = message->GetTitle();
        entry.message = message->GetMessage();
    }
    shown.push_back(entry);
    return wxID_OK;
}
