#include "devices/nodezeta.h"

#include "devices/canvasuicontrol.h"
#include "devices/dmxport.h"
#include "devices/ethernetport.h"
#include "devices/paneldrawing.h"

using exPanelDrawing::Place;

exNodeZeta::exNodeZeta(exCanvasControl* parent) : exBaseNode19Inch(parent, 8)
{
    title = "Pylon NodeZeta";
    hidden = true;
    for (int i = 0; i < 8; ++i)
        Place(dmxPorts[i], 150 + 45 * i, 0);
    ethernetPort2->socketCount = 2;
    Place(ethernetPort2, 320, 75);
    panelStyle = exCanvasUIControl::kSmallDisplay;
    Place(frontPanel, 605, 10);
    logo = exPanelDrawing::LoadLogo();
}

wxSize exNodeZeta::Paint(wxGraphicsContext* gc)
{
    PaintFront(gc);
    // A module in a switch shows only its front.
    if (!host)
        PaintBack(gc);
    return wxSize(width, height);
}

void exNodeZeta::PaintTitle(wxGraphicsContext* gc)
{
    exPanelDrawing::PaintLogoTitle(gc, logo, title, displayScale);
}
