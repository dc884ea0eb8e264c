#pragma once

#include <functional>

#include <wx/font.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

class wxGraphicsContext;

// Width and height of a text as a graphics context lays it out, in pixels.
struct exTextExtent {
    double width = 0.0;
    double height = 0.0;
};

// Replaces how texts are measured (tests fix label widths with it); an empty function restores
// measuring on the graphics context.
using exTextMeasurer = std::function<exTextExtent(const wxFont& font, const wxString& text)>;
void SetTextMeasurer(exTextMeasurer measurer);

// Measures a text on a context that has `font` selected.
exTextExtent MeasureTextExtent(wxGraphicsContext& gc, const wxFont& font, const wxString& text);

// A context on a small off-screen bitmap for measuring texts without one at hand; made once and
// kept for the run. Null when none can be made. Select the font before measuring.
wxGraphicsContext* MeasuringContext();

// Measures a text without a context at hand, on the measuring context; sizes truncated.
wxSize MeasureText(const wxFont& font, const wxString& text);

// The sans-serif font of every drawing, bold unless told otherwise. Where the system has a face
// with the narrow metrics the panels and dialogs were laid out for, that face is used, so that
// titles and labels fit their places.
wxFont SwissFont(int points, bool bold = true);

// The 10-point bold sans-serif font of every control label.
wxFont CanvasLabelFont();
