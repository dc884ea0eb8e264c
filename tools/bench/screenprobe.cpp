#include "screenprobe.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <unistd.h>

#include <cstdio>

namespace {

// The dialogs' frame is pure white; a little slack for the drawing's anti-aliasing.
constexpr int kWhiteLevel = 230;

int Channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    while (!(mask & 1)) {
        mask >>= 1;
        pixel >>= 1;
    }
    return int((pixel & mask) * 255 / mask);
}

// A read outside the screen (a window partly off it) fails that read only, not the probe.
int IgnoreError(Display*, XErrorEvent*)
{
    return 0;
}

} // namespace

ScreenProbe::~ScreenProbe()
{
    if (display_)
        XCloseDisplay(display_);
}

bool ScreenProbe::Connect()
{
    display_ = XOpenDisplay(nullptr);
    if (!display_) {
        fprintf(stderr, "rigwise-uiprobe: cannot open the X display\n");
        return false;
    }
    XSetErrorHandler(IgnoreError);
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) {
        fprintf(stderr, "rigwise-uiprobe: the X server has no XTEST\n");
        return false;
    }
    return true;
}

// The largest viewable window of that name: toolkits keep small helper windows beside the
// real one.
Window ScreenProbe::Search(Window under, const std::string& name, long& bestArea)
{
    Window found = 0;
    char* title = nullptr;
    XWindowAttributes attributes{};
    if (XFetchName(display_, under, &title) && title) {
        const bool matches = std::string(title).rfind(name, 0) == 0;
        XFree(title);
        if (matches && XGetWindowAttributes(display_, under, &attributes) &&
            attributes.map_state == IsViewable &&
            long(attributes.width) * attributes.height > bestArea) {
            bestArea = long(attributes.width) * attributes.height;
            found = under;
        }
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display_, under, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count; ++i)
            if (const Window child = Search(children[i], name, bestArea))
                found = child;
        if (children)
            XFree(children);
    }
    return found;
}

bool ScreenProbe::FindWindow(const std::string& name, int timeoutMs)
{
    for (int waited = 0; waited <= timeoutMs; waited += 100) {
        long area = 0;
        window_ = Search(DefaultRootWindow(display_), name, area);
        if (window_ && UpdateGeometry())
            return true;
        usleep(100000);
    }
    fprintf(stderr, "rigwise-uiprobe: no window named '%s'\n", name.c_str());
    return false;
}

bool ScreenProbe::UpdateGeometry()
{
    XWindowAttributes attributes{};
    Window child = 0;
    if (!XGetWindowAttributes(display_, window_, &attributes) ||
        !XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), 0, 0, &x_, &y_,
                               &child))
        return false;
    width_ = attributes.width;
    height_ = attributes.height;
    return true;
}

bool ScreenProbe::Resize(int width, int height, int timeoutMs)
{
    XResizeWindow(display_, window_, unsigned(width), unsigned(height));
    XSync(display_, False);
    for (int waited = 0; waited <= timeoutMs; waited += 20) {
        if (UpdateGeometry() && width_ == width && height_ == height)
            return true;
        usleep(20000);
    }
    fprintf(stderr, "rigwise-uiprobe: the window stays %dx%d\n", width_, height_);
    return false;
}

// Read from the root window, which shows what is on the screen whatever the toolkit's own
// window structure.
FrameFinder::Line ScreenProbe::Capture(int x, int y, int width, int height)
{
    FrameFinder::Line line;
    XImage* image = XGetImage(display_, DefaultRootWindow(display_), x_ + x, y_ + y,
                              unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    if (!image)
        return line;
    line.reserve(size_t(width * height));
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i) {
            const unsigned long pixel = XGetPixel(image, i, j);
            line.push_back(Channel(pixel, image->red_mask) > kWhiteLevel &&
                           Channel(pixel, image->green_mask) > kWhiteLevel &&
                           Channel(pixel, image->blue_mask) > kWhiteLevel);
        }
    XDestroyImage(image);
    return line;
}

FrameFinder::Line ScreenProbe::Row(int y)
{
    return Capture(0, y, width_, 1);
}

FrameFinder::Line ScreenProbe::Column(int x)
{
    return Capture(x, 0, 1, height_);
}

void ScreenProbe::MovePointer(int x, int y)
{
    XTestFakeMotionEvent(display_, DefaultScreen(display_), x_ + x, y_ + y, CurrentTime);
    XSync(display_, False);
}

void ScreenProbe::Click(int x, int y)
{
    MovePointer(x, y);
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    XSync(display_, False);
}
