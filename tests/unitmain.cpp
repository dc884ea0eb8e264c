// Runner of the unit tests: they need no socket, no window and no display, so only the toolkit's
// base library is started (for its paths and strings), never the GUI, and they run anywhere,
// without root or a private network namespace.
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>
#include <wx/init.h>

#include "common/displayscale.h"

namespace {

bool WriteProcFile(const char* path, const std::string& text)
{
    const int fd = open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = write(fd, text.data(), text.size()) == ssize_t(text.size());
    close(fd);
    return written;
}

// These tests send only through recording endpoints. Should one ever open a real socket, it
// finds an empty network of its own: a new network namespace, entered as root directly and
// otherwise inside a user namespace that maps the caller to itself.
bool LeaveTheNetwork()
{
    if (unshare(CLONE_NEWNET) == 0)
        return true;
    const std::string uid = std::to_string(getuid());
    const std::string gid = std::to_string(getgid());
    return unshare(CLONE_NEWUSER | CLONE_NEWNET) == 0 &&
           WriteProcFile("/proc/self/uid_map", uid + " " + uid + " 1") &&
           WriteProcFile("/proc/self/setgroups", "deny") &&
           WriteProcFile("/proc/self/gid_map", gid + " " + gid + " 1");
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!GTEST_FLAG_GET(list_tests) && !LeaveTheNetwork())
        std::fprintf(stderr, "note: no network namespace of its own could be made; "
                             "the unit tests open no socket\n");
    wxInitializer toolkit(argc, argv);
    if (!toolkit.IsOk()) {
        std::fprintf(stderr, "the toolkit's base library could not start\n");
        return 1;
    }
    // Drawn controls are made (the rig reader measures each model on one) but never shown: they
    // take the scale of the 96 dpi virtual display the other tests run on.
    exDisplayScale::SetWithoutScreen(exDisplayScale::Compute(96, 1, 1));
    return RUN_ALL_TESTS();
}
