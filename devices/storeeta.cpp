#include "devices/storeeta.h"

#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "devices/paneldrawing.h"

using exPanelDrawing::Place;

exStoreEta::exStoreEta(exCanvasControl* parent) : exBaseNode19Inch(parent, 4)
{
    title = "Pylon StoreEta";
    hidden = true;
    for (int i = 0; i < 4; ++i)
        Place(dmxPorts[i], 420 + 45 * i, 75);
    ethernetPort2->socketCount = 2;
    Place(ethernetPort2, 320, 75);
    panelStyle = exCanvasUIControl::kSmallDisplay;
    Place(frontPanel, 605, 10);
    logo = exPanelDrawing::LoadLogo();
}

wxSize exStoreEta::Paint(wxGraphicsContext* gc)
{
    PaintFront(gc);
    // A module in a switch shows only its front.
    if (!host)
        PaintBack(gc);
    return wxSize(width, height);
}

void exStoreEta::PaintTitle(wxGraphicsContext* gc)
{
    exPanelDrawing::PaintLogoTitle(gc, logo, title, displayScale);
}
