#pragma once

class wxWindow;

// The display scale: logical pixels per design unit, the same for the main window and every
// drawn control. It follows the screen's logical resolution (GTK already multiplies each
// logical pixel by its window scale, so that part must not be applied twice) and the desktop's
// text scaling, so that a drawing whose texts grow grows with them.
class exDisplayScale {
public:
    // `ppi`: horizontal device pixels per inch as the toolkit reports them; `contentScale`:
    // device pixels per logical pixel; `textScale`: the desktop's text scaling (1 is none).
    // An input that is not positive counts as none (96 dpi, scale 1).
    static float Compute(double ppi, double contentScale, double textScale);
    // The desktop's text scaling: the resolution fonts are drawn at over the screen's logical
    // resolution; 1 when the toolkit reports no font resolution.
    static double TextScale(double fontResolution, double logicalPpi);
    // The scale as the running toolkit gives it, with `window`'s content scale, or the first
    // display's when there is no window yet.
    static float Measure(const wxWindow* window = nullptr);
    // Measured once per process, for the drawn controls: the same for every one.
    static float Screen();
    // For a process without a screen (the unit tests): `Screen` gives `scale` and measures
    // nothing. Only before the first control is made.
    static void SetWithoutScreen(float scale);
};

// For tests: while it lives, the process draws as on a screen of `logicalPpi` whose desktop
// scales texts by `textScale`. `exDisplayScale::Screen` gives the scale for them, so controls
// made meanwhile take it, and texts are laid out at the font resolution that goes with them.
// Scopes do not nest.
class exScopedScreen {
public:
    exScopedScreen(double logicalPpi, double textScale);
    ~exScopedScreen();
    exScopedScreen(const exScopedScreen&) = delete;
    exScopedScreen& operator=(const exScopedScreen&) = delete;

private:
    double outerResolution;
};
