#include "common/userguide.h"

#include <wx/filename.h>
#include <wx/stdpaths.h>

namespace {
wxString Resolve(const wxString& folder, const wxString& relative)
{
    wxFileName path(relative, wxPATH_UNIX);
    path.MakeAbsolute(folder);
    path.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_ABSOLUTE);
    return path.GetFullPath();
}
} // namespace

wxString exUserGuide::Locate(const wxString& programFolder)
{
    const wxString installed = Resolve(programFolder, kInstalledPath);
    if (wxFileName::FileExists(installed))
        return installed;
    const wxString build = Resolve(programFolder, kBuildPath);
    if (wxFileName::FileExists(build))
        return build;
    return installed;
}

wxString exUserGuide::LocateForThisProgram()
{
    // On Linux the executable's path comes from /proc/self/exe, with every link resolved.
    const wxFileName program(wxStandardPaths::Get().GetExecutablePath());
    return Locate(program.GetPath());
}
