#include "devices/storeeta.h"

#include "devices/dmxport.h"
#include "devices/paneldrawing.h"

using exPanelDrawing::Place;

exStoreEta::exStoreEta(exCanvasControl* parent) : exBaseNode19InchLogo(parent, 4)
{
    title = "Pylon StoreEta";
    for (int i = 0; i < 4; ++i)
        Place(dmxPorts[i], 420 + 45 * i, 75);
}
