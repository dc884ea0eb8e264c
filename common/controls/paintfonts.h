#pragma once

#include <wx/colour.h>
#include <wx/font.h>
#include <wx/gdicmn.h>

class wxGraphicsContext;

// Selects fonts into graphics contexts. A font made for a window's context asks the window for
// its resolution, and on GTK that is a round trip to the X server, once per font; a rack paint
// selects dozens. While a panel paints, the resolution is asked once and every font of the paint
// is made for it, so the paint looks exactly as before and waits for nobody.
class exPaintFonts {
public:
    // For the lifetime of this object, fonts selected into `gc` are made for its resolution as
    // it is now. Scopes nest; the innermost one counts.
    explicit exPaintFonts(wxGraphicsContext& gc);
    ~exPaintFonts();
    exPaintFonts(const exPaintFonts&) = delete;
    exPaintFonts& operator=(const exPaintFonts&) = delete;

    // gc.SetFont(font, colour), without asking for the resolution inside a paint scope of gc.
    static void Select(wxGraphicsContext& gc, const wxFont& font, const wxColour& colour);

private:
    wxGraphicsContext* outerContext;
    wxRealPoint outerResolution;

    static inline wxGraphicsContext* paintContext = nullptr;
    static inline wxRealPoint paintResolution;
};
