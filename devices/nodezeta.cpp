#include "devices/nodezeta.h"

#include "devices/dmxport.h"
#include "devices/paneldrawing.h"

using exPanelDrawing::Place;

exNodeZeta::exNodeZeta(exCanvasControl* parent) : exBaseNode19InchLogo(parent, 8)
{
    title = "Pylon NodeZeta";
    for (int i = 0; i < 8; ++i)
        Place(dmxPorts[i], 150 + 45 * i, 0);
}
