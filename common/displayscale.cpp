#include "common/displayscale.h"

#include <cmath>

#include <gtk/gtk.h>
#include <wx/dcscreen.h>
#include <wx/display.h>
#include <wx/window.h>

namespace {

constexpr double kPlainPpi = 96;
// The scale set for a process without a screen; 0 while none is set.
float withoutScreen = 0;
// The scale of the screen an exScopedScreen stands for; 0 while none lives.
float scopedScale = 0;

double PositiveOr(double value, double fallback)
{
    return std::isfinite(value) && value > 0 ? value : fallback;
}

// The resolution GTK gives Pango for every text: the desktop's font DPI times its text scaling
// (GDK_DPI_SCALE), in logical pixels; negative when nothing set it.
double FontResolution()
{
    GdkScreen* screen = gdk_screen_get_default();
    return screen ? gdk_screen_get_resolution(screen) : -1;
}

} // namespace

float exDisplayScale::Compute(double ppi, double contentScale, double textScale)
{
    const double logicalPpi = PositiveOr(ppi, kPlainPpi) / PositiveOr(contentScale, 1);
    return float(logicalPpi * PositiveOr(textScale, 1) / 100);
}

double exDisplayScale::TextScale(double fontResolution, double logicalPpi)
{
    if (!(fontResolution > 0) || !(logicalPpi > 0))
        return 1;
    return fontResolution / logicalPpi;
}

float exDisplayScale::Measure(const wxWindow* window)
{
    const int ppi = wxScreenDC().GetPPI().x;
    const double contentScale =
        window ? window->GetContentScaleFactor() : wxDisplay(0u).GetScaleFactor();
    const double logicalPpi = PositiveOr(ppi, kPlainPpi) / PositiveOr(contentScale, 1);
    const double textScale = TextScale(FontResolution(), logicalPpi);
    return Compute(ppi, contentScale, textScale);
}

float exDisplayScale::Screen()
{
    if (scopedScale > 0)
        return scopedScale;
    static const float scale = withoutScreen > 0 ? withoutScreen : Measure();
    return scale;
}

void exDisplayScale::SetWithoutScreen(float scale)
{
    withoutScreen = scale;
}

exScopedScreen::exScopedScreen(double logicalPpi, double textScale)
    : outerResolution(FontResolution())
{
    scopedScale = exDisplayScale::Compute(logicalPpi, 1, textScale);
    if (GdkScreen* screen = gdk_screen_get_default())
        gdk_screen_set_resolution(screen, logicalPpi * textScale);
}

exScopedScreen::~exScopedScreen()
{
    scopedScale = 0;
    if (GdkScreen* screen = gdk_screen_get_default())
        gdk_screen_set_resolution(screen, outerResolution);
}
