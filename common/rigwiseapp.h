#pragma once

#include <wx/app.h>

// The application object: starts the one main window; the program ends when it closes.
class RigwiseApp : public wxApp {
public:
    static const char* const kVersion;

    bool OnInit() override;
};
