#pragma once

#include <X11/Xlib.h>

#include <string>

#include "framefinder.h"

// The program's window on an X display as the UI probe drives it: found by its name, given a
// size, read a row or a column at a time, and clicked with real (XTEST) pointer events, as a
// user's clicks arrive.
class ScreenProbe : public FrameFinder::Source {
public:
    ScreenProbe() = default;
    ~ScreenProbe() override;
    ScreenProbe(const ScreenProbe&) = delete;
    ScreenProbe& operator=(const ScreenProbe&) = delete;

    // Connects to $DISPLAY; false with a message on stderr.
    bool Connect();
    // Waits (up to `timeoutMs`) for a viewable window whose name starts with `name`.
    bool FindWindow(const std::string& name, int timeoutMs);
    // Asks for this size and waits (up to `timeoutMs`) until the window has it.
    bool Resize(int width, int height, int timeoutMs);

    Window WindowId() const { return window_; }
    int X() const { return x_; }
    int Y() const { return y_; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    FrameFinder::Line Row(int y) override;
    FrameFinder::Line Column(int x) override;

    // Moves the pointer to the window point and presses and releases the first button; returns
    // once the X server has taken both events.
    void Click(int x, int y);
    void MovePointer(int x, int y);

private:
    FrameFinder::Line Capture(int x, int y, int width, int height);
    bool UpdateGeometry();
    Window Search(Window under, const std::string& name, long& bestArea);

    Display* display_ = nullptr;
    Window window_ = 0;
    int x_ = 0, y_ = 0, width_ = 0, height_ = 0;
};
