#pragma once

#include <wx/string.h>

// Where the user guide that comes with the program lies, found from the program's own folder so
// that the program can be installed under any prefix and still run from its build folder:
//   installed: <program folder>/../share/doc/merrow-rigwise/user-guide.html
//   build:     <program folder>/docs/user-guide.html (the build copies the guide there)
class exUserGuide {
public:
    static constexpr const char* kInstalledPath = "../share/doc/merrow-rigwise/user-guide.html";
    static constexpr const char* kBuildPath = "docs/user-guide.html";

    // The guide's absolute path for a program in programFolder: the installed copy if it is
    // there, else the build folder's copy, else where the installed copy belongs (so that a
    // browser asked to open it names the missing file).
    static wxString Locate(const wxString& programFolder);
    // The same for this running program, from the path of its executable.
    static wxString LocateForThisProgram();
};
