// Finding the user guide from the program's own folder: installed under a prefix, run from the
// build folder, or with the guide missing.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

#include <wx/file.h>
#include <wx/filename.h>
#include <wx/stdpaths.h>

#include "common/userguide.h"

namespace {

// A scratch folder holding a program folder laid out as the test case asks.
class ScratchTree {
public:
    ScratchTree()
    {
        char pattern[] = "/tmp/rigwise-guide-XXXXXX";
        top = mkdtemp(pattern);
    }
    ~ScratchTree() { wxFileName::Rmdir(top, wxPATH_RMDIR_RECURSIVE); }

    wxString Add(const wxString& relative)
    {
        wxFileName file(top + "/" + relative);
        wxFileName::Mkdir(file.GetPath(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
        wxFile(file.GetFullPath(), wxFile::write).Write("<html></html>");
        return file.GetFullPath();
    }

    wxString top;
};

} // namespace

TEST(UserGuide, FoundBesideTheProgramInEveryLayout)
{
    struct Case {
        const char* name;
        bool installed;
        bool build;
        const char* expected; // below the scratch top
    };
    const Case cases[] = {
        {"installed under a prefix", true, false, "usr/share/doc/merrow-rigwise/user-guide.html"},
        {"run from the build folder", false, true, "usr/bin/docs/user-guide.html"},
        {"both: the installed guide wins", true, true,
         "usr/share/doc/merrow-rigwise/user-guide.html"},
        {"neither: where the installed guide belongs", false, false,
         "usr/share/doc/merrow-rigwise/user-guide.html"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchTree tree;
        ASSERT_FALSE(tree.top.empty());
        wxFileName::Mkdir(tree.top + "/usr/bin", wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
        if (c.installed)
            tree.Add("usr/share/doc/merrow-rigwise/user-guide.html");
        if (c.build)
            tree.Add("usr/bin/docs/user-guide.html");
        const wxString found = exUserGuide::Locate(tree.top + "/usr/bin");
        EXPECT_EQ(found, tree.top + "/" + c.expected);
        EXPECT_EQ(wxFileExists(found), c.installed || c.build);
    }
}

TEST(UserGuide, ProgramFolderGivenWithDotsOrATrailingSlash)
{
    ScratchTree tree;
    const wxString guide = tree.Add("opt/rig/share/doc/merrow-rigwise/user-guide.html");
    wxFileName::Mkdir(tree.top + "/opt/rig/bin", wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    wxFileName::Mkdir(tree.top + "/opt/rig/lib", wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    for (const wxString& folder : {tree.top + "/opt/rig/bin/", tree.top + "/opt/rig/lib/../bin",
                                   tree.top + "/opt/./rig/bin"}) {
        SCOPED_TRACE(folder.ToStdString());
        EXPECT_EQ(exUserGuide::Locate(folder), guide);
    }
}

TEST(UserGuide, ThisProgramFindsTheBuildFoldersCopy)
{
    // The test program lies in the build folder like the program, with the guide copied beside
    // it by the build.
    const wxFileName program(wxStandardPaths::Get().GetExecutablePath());
    const wxString found = exUserGuide::LocateForThisProgram();
    EXPECT_EQ(found, program.GetPath() + "/docs/user-guide.html");
    EXPECT_TRUE(wxFileExists(found));
}
