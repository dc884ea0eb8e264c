#include "rig/rigfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace {

constexpr size_t kReadChunk = 64 * 1024;
constexpr double kBytesPerMegabyte = 1024.0 * 1024.0;
constexpr unsigned kCreationBits = 0666;
constexpr unsigned kUsualUmask = 022;

// Closes a descriptor when the reading leaves, whichever way.
class OpenFile {
public:
    explicit OpenFile(int fd) : fd(fd) {}
    ~OpenFile() { close(fd); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

private:
    int fd;
};

wxString Reason(int error)
{
    return wxString::FromUTF8(std::strerror(error));
}

wxString SizeText(unsigned long long bytes)
{
    return wxString::Format("%.1f MB (%llu bytes)", double(bytes) / kBytesPerMegabyte, bytes);
}

// The folder and name parts of a path: "rig.json" lies in ".".
void SplitPath(const std::string& path, std::string& folder, std::string& name)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        folder = ".";
        name = path;
    } else {
        folder = slash == 0 ? "/" : path.substr(0, slash);
        name = path.substr(slash + 1);
    }
}

bool Fail(wxString& problem, const wxString& text)
{
    problem = text;
    return false;
}

} // namespace

bool exRigFile::ReadWhole(const wxString& path, std::string& content, wxString& problem)
{
    // Non-blocking, so that a named pipe in the file's place cannot hold the program.
    const int fd = open(path.fn_str().data(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return Fail(problem, wxString::Format("Could not open %s: %s.", path, Reason(errno)));
    const OpenFile closer(fd);
    struct stat info;
    if (fstat(fd, &info) != 0)
        return Fail(problem, wxString::Format("Could not read %s: %s.", path, Reason(errno)));
    if (S_ISDIR(info.st_mode))
        return Fail(problem, wxString::Format("%s is a folder, not a rig file.", path));
    if (!S_ISREG(info.st_mode))
        return Fail(problem, wxString::Format("%s is not a plain file, so not a rig file.", path));
    if (static_cast<unsigned long long>(info.st_size) > kMaxBytes)
        return Fail(problem, wxString::Format("%s is %s, larger than a rig file can be (%s).", path,
                                              SizeText(info.st_size), SizeText(kMaxBytes)));
    return ReadOpen(fd, path, content, problem);
}

bool exRigFile::ReadOpen(int fd, const wxString& path, std::string& content, wxString& problem)
{
    std::string read;
    char chunk[kReadChunk];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof(chunk));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Fail(problem, wxString::Format("Could not read %s: %s.", path, Reason(errno)));
        if (got == 0)
            break;
        read.append(chunk, size_t(got));
        // The file grew after its size was looked at.
        if (read.size() > kMaxBytes)
            return Fail(problem, wxString::Format("%s grew larger than a rig file can be (%s) "
                                                  "while it was read.",
                                                  path, SizeText(kMaxBytes)));
    }
    content = std::move(read);
    return true;
}

bool exRigFile::WriteAtomically(const wxString& path, const std::string& content, wxString& problem)
{
    const std::string target(path.fn_str().data());
    std::string folder, name;
    SplitPath(target, folder, name);
    const wxString shown = wxString(name.c_str(), wxConvFile);
    std::string temporary = folder + "/." + name + ".XXXXXX";
    const int fd = mkostemp(&temporary[0], O_CLOEXEC);
    if (fd < 0)
        return Fail(problem, wxString::Format("Could not save %s: %s.", shown, Reason(errno)));
    bool done = WriteTemporary(fd, content);
    if (done)
        done = rename(temporary.c_str(), target.c_str()) == 0;
    if (!done) {
        const int error = errno;
        unlink(temporary.c_str());
        return Fail(problem, wxString::Format("Could not save %s: %s.", shown, Reason(error)));
    }
    // The file is in place now; an error here means the rename may not survive a power cut.
    if (!SyncFolder(folder))
        return Fail(problem, wxString::Format("Could not save %s: %s.", shown, Reason(errno)));
    return true;
}

// Fills, syncs and closes the temporary file; errno tells why when it fails.
bool exRigFile::WriteTemporary(int fd, const std::string& content)
{
    const bool written = WriteAll(fd, content) && fchmod(fd, CreationMode()) == 0 && fsync(fd) == 0;
    const int error = errno;
    const bool closed = close(fd) == 0;
    if (!written)
        errno = error;
    return written && closed;
}

bool exRigFile::WriteAll(int fd, const std::string& content)
{
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t wrote = write(fd, content.data() + done, content.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote < 0)
            return false;
        if (wrote == 0) {
            errno = ENOSPC;
            return false;
        }
        done += size_t(wrote);
    }
    return true;
}

bool exRigFile::SyncFolder(const std::string& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // Some file systems cannot sync a folder, and say so with EINVAL; nothing more can be done.
    const bool synced = fsync(fd) == 0 || errno == EINVAL;
    const int error = errno;
    close(fd);
    errno = error;
    return synced;
}

// 0666 less the process's umask, as a newly created file gets. The umask is read from /proc,
// since asking umask() for it changes it for a moment under every thread.
unsigned exRigFile::CreationMode()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    unsigned mask = kUsualUmask;
    while (std::getline(status, line))
        if (std::sscanf(line.c_str(), "Umask: %o", &mask) == 1)
            break;
    return kCreationBits & ~mask;
}

wxString exRigFile::SuggestedName(const wxDateTime& when)
{
    return when.Format("rig-%Y-%m-%d.rigwise.json");
}
