#pragma once

#include <wx/app.h>

// The application object: starts the one main window; the program ends when it closes. The
// command line was read by main() before the toolkit started.
class RigwiseApp : public wxApp {
public:
    // The project's version, given by the build.
    static constexpr const char* kVersion = RIGWISE_VERSION;

    bool OnInit() override;
};
