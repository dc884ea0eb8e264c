#pragma once

#include <wx/colour.h>

// The canvas palette: every colour the drawn controls use by name. Black and white are the
// toolkit's stock colours.
namespace exCanvasColours {

// Default fill of controls, hover fill, and the main colour of an enabled button.
inline const wxColour kLightGrey(170, 170, 170);
// Default text colour, the disabled button, and the rack's background.
inline const wxColour kDarkGrey(70, 70, 70);
// Laid over a pressed bitmap button to darken its picture, and over a lost or unreachable
// device.
inline const wxColour kPressedShade(0, 0, 0, 150);
// A device display's screen, and the same while the pointer is on it.
inline const wxColour kScreenBlue(30, 175, 250);
inline const wxColour kScreenHoverBlue(0, 0, 255);
// The small box models' case: its face and its edge.
inline const wxColour kBoxFill(200, 200, 200);
inline const wxColour kBoxEdge(170, 170, 170);
// An entry that cannot be edited in the switch port dialog.
inline const wxColour kDisabledEntryFill(50, 50, 50);
// Fills of the IPv4 entry for a usable and an unusable address.
inline const wxColour kIpValidFill(100, 160, 100);
inline const wxColour kIpInvalidFill(160, 100, 100);
// The "Auto ..." caption of a switch-and-button pair, and the find bar's key hints.
inline const wxColour kPairCaption(150, 150, 150);
// Labels of an element whose values have not been read from the device yet.
inline const wxColour kNotRead(115, 115, 115);
// The outline around the device the rack view has jumped to (a find match, a device that needs
// attention): bright against the rack, the panels and the shade of a lost device.
inline const wxColour kJumpOutline(255, 190, 0);

} // namespace exCanvasColours
