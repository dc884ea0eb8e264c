#pragma once

// The running program as the end-to-end tests see it: its window at a known size, and where
// its drawn elements lie on the screen, computed from the drawing's design units and the rack's
// zoom the way the program lays them out, with the few sizes that depend on text measured from
// a capture of the screen.
#include <sys/types.h>

#include <string>
#include <vector>

#include "e2e/screen.h"

class SimNetwork;

namespace rigwiseui {

constexpr double kScale = 0.96; // display scale at 96 dpi
constexpr int kWindowWidth = 1000;
constexpr int kWindowHeight = 700;

inline int Scaled(double design)
{
    return int(design * kScale);
}

struct Point {
    int x = 0;
    int y = 0;
};

// A settings dialog found on the screen: its frame in window pixels.
struct Dialog {
    int x = 0, y = 0, width = 0, height = 0;
    bool found() const { return width > 0; }
    // A point given in design units from the dialog's top left corner.
    Point At(double designX, double designY) const
    {
        return Point{x + int(designX * kScale), y + int(designY * kScale)};
    }
};

// A segmented control's extent on the screen, found from a point inside it.
struct Selector {
    int left = 0, right = 0, y = 0;
    int count = 0;
    // Centre of segment i.
    Point Segment(int i) const
    {
        const double segment = double(right - left + 1) / count;
        return Point{left + int(segment * (i + 0.5)), y};
    }
};

class Program {
public:
    // Starts the built program (with these command-line arguments) on the network's program
    // side on this display, waits for its window and gives it the test size.
    explicit Program(const SimNetwork& network, const std::vector<std::string>& arguments = {});
    ~Program();

    bool ok() const { return !window_.empty(); }
    pid_t Pid() const { return pid_; }
    // True once the program has ended (within `limitMs`).
    bool WaitForEnd(int limitMs);
    // The program's exit code once it has ended (128 + signal when killed); in a sanitizer
    // build, a finding at exit shows here.
    int ExitCode() const { return exitCode_; }

    // A point of a device's drawing (the rack holds one device at the top): design units of
    // the element placed at (elementX, elementY) plus (insideX, insideY) inside it.
    Point RackPoint(double elementX, double elementY, double insideX, double insideY) const;

    // The control bar's parts, found on the screen at start.
    Point scanSwitch, scanButton, saveRigButton, loadRigButton, updateSwitch, updateButton,
        exitButton;

    // Waits (bounded) for a dialog of this pixel height, centred over the rack.
    Dialog WaitForDialog(int height) const;
    // Waits (bounded) until no dialog of this height is shown.
    bool WaitForNoDialog(int height) const;
    // The segmented control whose row starts at design y within the dialog and which holds the
    // point at design x; with a negative x, the rightmost control of that row.
    Selector FindSelector(const Dialog& dialog, double designX, double designY, int count) const;

    // Writes the screen to NAME.png in the screenshot directory; returns the path.
    std::string Screenshot(const std::string& name) const;

private:
    bool FindControlBar();
    Dialog FindDialog(const Shot& shot, int height) const;

    pid_t pid_ = -1;
    bool ended_ = false;
    int exitCode_ = -1;
    std::string window_;
    int rackClientHeight_ = 0;
};

} // namespace rigwiseui
