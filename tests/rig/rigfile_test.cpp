// Rig files on disk: what reading refuses, a save read back, and a save that fails halfway.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include <wx/dir.h>
#include <wx/filename.h>

#include "rig/rigfile.h"
#include "rig/rigjson.h"

using testing::ElementsAre;
using testing::HasSubstr;

namespace {

class RigFileTest : public testing::Test {
protected:
    RigFileTest()
    {
        char pattern[] = "/tmp/rigfile-test-XXXXXX";
        folder = mkdtemp(pattern);
    }
    ~RigFileTest() override { wxFileName::Rmdir(folder, wxPATH_RMDIR_RECURSIVE); }

    wxString PathOf(const char* name) const { return folder + "/" + name; }

    void Put(const char* name, const std::string& content) const
    {
        std::ofstream(PathOf(name).fn_str().data(), std::ios::binary) << content;
    }

    std::string Get(const char* name) const
    {
        std::ifstream file(PathOf(name).fn_str().data(), std::ios::binary);
        std::stringstream content;
        content << file.rdbuf();
        return content.str();
    }

    // Holes only: a file of any size in no time and no disk space.
    void MakeSparse(const char* name, off_t size) const
    {
        const int fd = open(PathOf(name).fn_str().data(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(ftruncate(fd, size), 0);
        close(fd);
    }

    std::vector<std::string> Names() const
    {
        wxArrayString found;
        wxDir::GetAllFiles(folder, &found, wxEmptyString, wxDIR_FILES | wxDIR_HIDDEN);
        std::vector<std::string> names;
        for (const wxString& path : found)
            names.push_back(wxFileName(path).GetFullName().utf8_string());
        std::sort(names.begin(), names.end());
        return names;
    }

    wxString folder;
};

// Files beyond `limit` bytes cannot grow, and the signal that would end the process is ignored,
// so that a write past it fails with EFBIG; both are restored afterwards.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit smaller = saved;
        smaller.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &smaller);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
    }

private:
    rlimit saved{};
    void (*oldHandler)(int) = nullptr;
};

} // namespace

TEST_F(RigFileTest, ReadingRefusesWhatIsNoRigFile)
{
    ASSERT_EQ(mkdir(PathOf("folder.rigwise.json").fn_str().data(), 0755), 0);
    MakeSparse("huge.json", 100 * 1024 * 1024);
    MakeSparse("over.json", exRigFile::kMaxBytes + 1);
    ASSERT_EQ(mkfifo(PathOf("pipe.json").fn_str().data(), 0644), 0);
    struct Case {
        const char* name;
        const char* says;
    } cases[] = {
        {"missing.json", "No such file or directory"},
        {"folder.rigwise.json", "is a folder"},
        {"huge.json", "is 100.0 MB (104857600 bytes), larger than a rig file can be"},
        {"over.json", "is 16.0 MB (16777217 bytes)"},
        {"pipe.json", "not a plain file"},
    };
    for (const Case& c : cases) {
        std::string content = "kept";
        wxString problem;
        EXPECT_FALSE(exRigFile::ReadWhole(PathOf(c.name), content, problem)) << c.name;
        EXPECT_THAT(problem.utf8_string(), HasSubstr(c.name));
        EXPECT_THAT(problem.utf8_string(), HasSubstr(c.says));
        EXPECT_EQ(content, "kept");
    }
}

TEST_F(RigFileTest, FileOfTheLargestSizeReads)
{
    MakeSparse("largest.json", exRigFile::kMaxBytes);
    std::string content;
    wxString problem;
    ASSERT_TRUE(exRigFile::ReadWhole(PathOf("largest.json"), content, problem)) << problem;
    EXPECT_EQ(content.size(), exRigFile::kMaxBytes);
}

TEST_F(RigFileTest, TruncatedFileReadsWholeAndIsRefusedAsCutShort)
{
    exRigDocument rig;
    rig.devices.resize(1);
    rig.devices[0].modelCode = 0x0108;
    const std::string text = exRigJson::Write(rig);
    Put("cut.json", text.substr(0, text.size() - 20));
    std::string content;
    wxString problem;
    ASSERT_TRUE(exRigFile::ReadWhole(PathOf("cut.json"), content, problem)) << problem;
    EXPECT_EQ(content, text.substr(0, text.size() - 20));
    exRigDocument read;
    EXPECT_FALSE(exRigJson::Read(content, read, problem));
    EXPECT_THAT(problem.utf8_string(), HasSubstr("cut short"));
}

TEST_F(RigFileTest, SaveReplacesTheFileWithTheUmasksModeAndLeavesNothingElse)
{
    Put("rig.rigwise.json", "old rig");
    // More than one read chunk, so that reading back loops.
    std::string content(200 * 1024, 'x');
    content += "\xC3\xBC\n";
    const mode_t saved = umask(027);
    wxString problem;
    const bool written = exRigFile::WriteAtomically(PathOf("rig.rigwise.json"), content, problem);
    umask(saved);
    ASSERT_TRUE(written) << problem;

    std::string read;
    ASSERT_TRUE(exRigFile::ReadWhole(PathOf("rig.rigwise.json"), read, problem)) << problem;
    EXPECT_EQ(read, content);
    struct stat info;
    ASSERT_EQ(stat(PathOf("rig.rigwise.json").fn_str().data(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_THAT(Names(), ElementsAre("rig.rigwise.json"));
}

TEST_F(RigFileTest, FailedSaveKeepsTheOldFileAndRemovesTheTemporaryOne)
{
    const std::string old = "{ \"format\": \"merrow-rigwise-rig\" }\n";
    Put("rig.json", old);
    wxString problem;
    {
        const FileSizeLimit limit(1024);
        EXPECT_FALSE(
            exRigFile::WriteAtomically(PathOf("rig.json"), std::string(64 * 1024, 'x'), problem));
    }
    EXPECT_EQ(problem, wxString("Could not save rig.json: ") + std::strerror(EFBIG) + ".");
    EXPECT_EQ(Get("rig.json"), old);
    EXPECT_THAT(Names(), ElementsAre("rig.json"));

    EXPECT_FALSE(exRigFile::WriteAtomically(folder + "/none/rig.json", old, problem));
    EXPECT_EQ(problem, wxString("Could not save rig.json: ") + std::strerror(ENOENT) + ".");
}

TEST(RigFile, SuggestedNameCarriesTheDate)
{
    EXPECT_EQ(exRigFile::SuggestedName(wxDateTime(9, wxDateTime::Dec, 2026, 12, 45, 27)),
              "rig-2026-12-09.rigwise.json");
    EXPECT_EQ(exRigFile::SuggestedName(wxDateTime(1, wxDateTime::Mar, 2027, 0, 0, 1)),
              "rig-2027-03-01.rigwise.json");
}
