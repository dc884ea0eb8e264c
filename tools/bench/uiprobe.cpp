// rigwise-uiprobe: measures how long the running program takes to show a settings dialog after
// a click, from outside, as a user meets it. Runs on the program's X display.
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framefinder.h"
#include "screenprobe.h"

namespace {

const char kUsage[] =
    "usage: rigwise-uiprobe window [--size WIDTHxHEIGHT] [--name NAME] [--timeout-ms MS]\n"
    "       rigwise-uiprobe click-dialog X Y [--name NAME] [--timeout-ms MS] [--keep-open]\n"
    "\n"
    "  window        waits for the program's window (default name \"Merrow Rigwise\") and gives\n"
    "                it the size the end-to-end tests use (default 1000x700)\n"
    "  click-dialog  clicks at the window point X,Y and prints the milliseconds until a\n"
    "                settings dialog's frame shows, or \"none\" after the time-out (default\n"
    "                5000 ms); then closes the dialog with its \"OK\" unless --keep-open.\n"
    "                A dialog already open is closed first.\n";

// The dialogs' "OK" sits 40 design units right of the frame and 25 above its bottom.
constexpr double kScale = 0.96; // the program's display scale at 96 dpi
constexpr int kOkRight = int(40 * kScale);
constexpr int kOkUp = int(25 * kScale);

struct Options {
    std::string command;
    int x = -1, y = -1;
    int width = 1000, height = 700;
    std::string name = "Merrow Rigwise";
    int timeoutMs = 5000;
    bool keepOpen = false;
};

double NowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    if (argc < 2)
        return false;
    options.command = argv[1];
    int i = 2;
    if (options.command == "click-dialog") {
        if (argc < 4)
            return false;
        options.x = std::atoi(argv[2]);
        options.y = std::atoi(argv[3]);
        i = 4;
    } else if (options.command != "window") {
        return false;
    }
    for (; i < argc; ++i) {
        const std::string flag = argv[i];
        if (flag == "--keep-open") {
            options.keepOpen = true;
            continue;
        }
        if (i + 1 >= argc)
            return false;
        const char* value = argv[++i];
        if (flag == "--name")
            options.name = value;
        else if (flag == "--timeout-ms")
            options.timeoutMs = std::atoi(value);
        else if (flag == "--size")
            std::sscanf(value, "%dx%d", &options.width, &options.height);
        else
            return false;
    }
    return options.timeoutMs > 0 && options.width > 0 && options.height > 0;
}

// Polls until the frame is there, or gone; the time that took in ms, negative when the time-out
// came first. Every millisecond at first, then more seldom (1 % of the time waited, at most every
// 10 ms), so that a long wait does not load the X server beside the program it measures.
double WaitForFrame(ScreenProbe& screen, bool present, int timeoutMs, FrameFinder::Box* box)
{
    const double start = NowMs();
    for (;;) {
        const FrameFinder::Box found = FrameFinder::Find(screen);
        const double waited = NowMs() - start;
        if (found.found() == present) {
            if (box)
                *box = found;
            return waited;
        }
        if (waited > timeoutMs)
            return -1;
        usleep(useconds_t(std::clamp(waited * 10.0, 1000.0, 10000.0)));
    }
}

void ClickOk(ScreenProbe& screen, const FrameFinder::Box& box)
{
    screen.Click(box.left + 1 + kOkRight, box.bottom - kOkUp);
}

int ClickDialog(ScreenProbe& screen, const Options& options)
{
    FrameFinder::Box box = FrameFinder::Find(screen);
    if (box.found()) {
        ClickOk(screen, box);
        if (WaitForFrame(screen, false, options.timeoutMs, nullptr) < 0) {
            printf("none: a dialog was open and did not close\n");
            return 1;
        }
    }
    // The pointer is there first, so that the measured click is one press and release.
    screen.MovePointer(options.x, options.y);
    usleep(50000);
    screen.Click(options.x, options.y);
    const double shownMs = WaitForFrame(screen, true, options.timeoutMs, &box);
    if (shownMs < 0) {
        printf("none: no dialog within %d ms\n", options.timeoutMs);
        return 1;
    }
    printf("%.1f ms: dialog %dx%d at %d,%d", shownMs, box.right - box.left + 1,
           box.bottom - box.top + 1, box.left, box.top);
    if (!options.keepOpen) {
        ClickOk(screen, box);
        const double closedMs = WaitForFrame(screen, false, options.timeoutMs, nullptr);
        if (closedMs < 0)
            printf("; still open %d ms after OK", options.timeoutMs);
        else
            printf("; closed %.1f ms after OK", closedMs);
    }
    printf("\n");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        fputs(kUsage, stdout);
        return 0;
    }
    if (!ParseOptions(argc, argv, options)) {
        fputs(kUsage, stderr);
        return 2;
    }
    ScreenProbe screen;
    if (!screen.Connect() || !screen.FindWindow(options.name, options.timeoutMs))
        return 1;
    if (options.command == "window") {
        if (!screen.Resize(options.width, options.height, options.timeoutMs))
            return 1;
        printf("window 0x%lx at %d,%d size %dx%d\n", screen.WindowId(), screen.X(), screen.Y(),
               screen.Width(), screen.Height());
        return 0;
    }
    return ClickDialog(screen, options);
}
