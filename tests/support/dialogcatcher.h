#pragma once

#include <vector>

#include <wx/dialog.h>
#include <wx/modalhook.h>

// Answers every modal dialog at once with OK and remembers its title and message, so that tests
// can check what the user would have been shown.
class DialogCatcher : public wxModalDialogHook {
public:
    struct Shown {
        wxString title;
        wxString message;
    };

    DialogCatcher() { Register(); }
    ~DialogCatcher() override { Unregister(); }

    std::vector<Shown> shown;

protected:
    int Enter(wxDialog* dialog) override;
    void Exit(wxDialog*) override {}
};
