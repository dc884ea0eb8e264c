#pragma once

#include <wx/colour.h>

// The canvas palette: every colour the drawn controls use by name. Black and white are the
// toolkit's stock colours.
namespace exCanvasColours {

// Default fill of controls, hover fill, and the main colour of an enabled button.
inline const wxColour kLightGrey(170, 170, 170);
// Default text colour, the disabled button, and the rack's background.
inline const wxColour kDarkGrey(70, 70, 70);
// Laid over a pressed bitmap button to darken its picture.
inline const wxColour kPressedShade(0, 0, 0, 150);
// Fills of the IPv4 entry for a usable and an unusable address.
inline const wxColour kIpValidFill(100, 160, 100);
inline const wxColour kIpInvalidFill(160, 100, 100);
// The "Auto ..." caption of a switch-and-button pair.
inline const wxColour kPairCaption(150, 150, 150);

} // namespace exCanvasColours
