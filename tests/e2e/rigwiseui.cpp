#include "e2e/rigwiseui.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <vector>

#include "support/simnetwork.h"

namespace rigwiseui {

namespace {

const Rgb kRackBackground{70, 70, 70};
const Rgb kLightGrey{170, 170, 170};
constexpr int kControlBarHeight = 57;      // 60 design units
constexpr int kRackOrigin = 20;            // the rack's left and top margin, in pixels
constexpr int kDeviceWidth = 739;          // 770 design units, the widest model
constexpr int kBarRow = 21;                // inside the bar's switches and buttons, above text
constexpr int kBarMiddle = 28;

void SleepMs(int ms)
{
    usleep(useconds_t(ms) * 1000);
}

struct Run {
    int left, right;
};

std::vector<Run> Runs(const Shot& shot, int y, int from, int to, const Rgb& colour, int least)
{
    std::vector<Run> runs;
    int start = -1;
    for (int x = from; x <= to; ++x) {
        const bool in = x < to && shot.At(x, y) == colour;
        if (in && start < 0)
            start = x;
        if (!in && start >= 0) {
            if (x - start >= least)
                runs.push_back(Run{start, x - 1});
            start = -1;
        }
    }
    return runs;
}

} // namespace

Program::Program(const SimNetwork& network, const std::vector<std::string>& arguments)
{
    // The desktop's file dialogs keep their settings in memory: the test display has no
    // session bus to store them on.
    std::vector<std::string> command{"env", "GSETTINGS_BACKEND=memory", RIGWISE_BINARY};
    command.insert(command.end(), arguments.begin(), arguments.end());
    pid_ = network.StartOnProgramSide(command);
    std::ostringstream search;
    search << "search --onlyvisible --pid " << pid_ << " --name 'Merrow Rigwise'";
    for (int i = 0; i < 100 && window_.empty(); ++i) {
        std::istringstream found(xscreen::Xdotool(search.str()));
        found >> window_;
        if (window_.empty())
            SleepMs(100);
    }
    if (window_.empty())
        return;
    std::ostringstream size;
    size << "windowsize " << window_ << ' ' << kWindowWidth << ' ' << kWindowHeight;
    xscreen::Xdotool(size.str());
    xscreen::Xdotool("windowfocus " + window_);
    if (!FindControlBar())
        window_.clear();
}

Program::~Program()
{
    if (pid_ > 0 && !ended_)
        SimNetwork::StopProcess(pid_);
}

bool Program::WaitForEnd(int limitMs)
{
    for (int waited = 0; waited <= limitMs; waited += 50) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            ended_ = true;
            exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return true;
        }
        SleepMs(50);
    }
    return false;
}

// The bar is laid out once the window has its size: "Exit" then sits 20 units from the right
// edge. The switches' left halves ("On"), "Save Rig", "Load Rig" and "Exit" are the light grey
// runs of the bar; the pairs' buttons, disabled while their switch is on, are not.
bool Program::FindControlBar()
{
    for (int tries = 0; tries < 60; ++tries) {
        const Shot shot = xscreen::Capture();
        const std::vector<Run> runs =
            Runs(shot, kBarRow, 0, kWindowWidth, kLightGrey, Scaled(20));
        const int exitLeft = int(kWindowWidth - Scaled(40) - 20 * kScale);
        // The rack area: background from under the bar down to the status line.
        int rackBottom = kControlBarHeight;
        while (rackBottom < kWindowHeight && shot.At(3, rackBottom) == kRackBackground)
            ++rackBottom;
        if (runs.size() == 5 && runs[4].left == exitLeft && rackBottom > kControlBarHeight) {
            const int switchWidth = Scaled(60);
            // A pair's button is 80 units after its caption, its switch 10.
            const int buttonOffset = int(80 * kScale) - int(10 * kScale);
            scanSwitch = Point{runs[0].left + switchWidth / 2, kBarMiddle};
            scanButton = Point{runs[0].left + buttonOffset + switchWidth / 2, kBarMiddle};
            saveRigButton = Point{(runs[1].left + runs[1].right) / 2, kBarMiddle};
            loadRigButton = Point{(runs[2].left + runs[2].right) / 2, kBarMiddle};
            updateSwitch = Point{runs[3].left + switchWidth / 2, kBarMiddle};
            updateButton = Point{runs[3].left + buttonOffset + switchWidth / 2, kBarMiddle};
            exitButton = Point{(runs[4].left + runs[4].right) / 2, kBarMiddle};
            rackClientHeight_ = rackBottom - kControlBarHeight;
            return true;
        }
        SleepMs(100);
    }
    return false;
}

Point Program::RackPoint(double elementX, double elementY, double insideX, double insideY) const
{
    const double zoom = double(kWindowWidth - 2 * kRackOrigin) / kDeviceWidth;
    return Point{kRackOrigin + int(zoom * (Scaled(elementX) + insideX * kScale)),
                 kControlBarHeight + kRackOrigin +
                     int(zoom * (Scaled(elementY) + insideY * kScale))};
}

// A dialog is centred in the rack's client area and framed by a white line 2 pixels wide, so
// its top edge is a white run through the middle of the rack at a known row.
Dialog Program::FindDialog(const Shot& shot, int height) const
{
    const int top = kControlBarHeight + (rackClientHeight_ - height) / 2;
    const int middle = kWindowWidth / 2;
    for (int y = top - 1; y <= top; ++y) {
        if (!shot.At(middle, y).IsWhite())
            continue;
        int left = middle, right = middle;
        while (left > 0 && shot.At(left - 1, y).IsWhite())
            --left;
        while (right < kWindowWidth - 1 && shot.At(right + 1, y).IsWhite())
            ++right;
        // The left edge runs down the whole height.
        if (right - left < 50 || !shot.At(left, top + height / 2).IsWhite())
            continue;
        return Dialog{left + 1, top, right - left - 1, height};
    }
    return Dialog{};
}

Dialog Program::WaitForDialog(int height) const
{
    for (int tries = 0; tries < 60; ++tries) {
        const Dialog dialog = FindDialog(xscreen::Capture(), height);
        if (dialog.found())
            return dialog;
        SleepMs(50);
    }
    return Dialog{};
}

bool Program::WaitForNoDialog(int height) const
{
    for (int tries = 0; tries < 60; ++tries) {
        if (!FindDialog(xscreen::Capture(), height).found())
            return true;
        SleepMs(50);
    }
    return false;
}

// Every column of a segmented control holds some of its outline; the black of the dialog
// surrounds it.
Selector Program::FindSelector(const Dialog& dialog, double designX, double designY,
                               int count) const
{
    const Shot shot = xscreen::Capture();
    const int top = dialog.y + Scaled(designY);
    const int bottom = top + Scaled(20);
    auto inked = [&](int x) {
        for (int y = top - 1; y <= bottom + 1; ++y)
            if (!shot.At(x, y).IsBlack())
                return true;
        return false;
    };
    Selector selector;
    int left = dialog.x + Scaled(designX) + 3;
    if (designX < 0) { // from the right edge, the first thing of the row
        left = dialog.x + dialog.width - 4;
        while (left > dialog.x + 3 && !inked(left))
            --left;
    }
    int right = left;
    while (left > dialog.x + 3 && inked(left - 1))
        --left;
    while (right < dialog.x + dialog.width - 4 && inked(right + 1))
        ++right;
    selector.left = left;
    selector.right = right;
    selector.y = (top + bottom) / 2;
    selector.count = count;
    return selector;
}

std::string Program::Screenshot(const std::string& name) const
{
    const char* directory = std::getenv("RIGWISE_SCREENSHOT_DIR");
    const std::string path =
        std::string(directory ? directory : RIGWISE_TEST_DATA_DIR "/e2e-screens") + "/" + name +
        ".png";
    std::system(("mkdir -p \"$(dirname '" + path + "')\"").c_str());
    // The last event's repaint may still be on its way.
    SleepMs(150);
    xscreen::SavePng(path);
    return path;
}

} // namespace rigwiseui
