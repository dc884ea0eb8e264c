#include "devices/basenode19inchlogo.h"

#include "devices/canvasuicontrol.h"
#include "devices/ethernetport.h"
#include "devices/paneldrawing.h"

using exPanelDrawing::Place;

exBaseNode19InchLogo::exBaseNode19InchLogo(exCanvasControl* parent, int dmxPortCount)
    : exBaseNode19Inch(parent, dmxPortCount)
{
    hidden = true;
    ethernetPort2->socketCount = 2;
    Place(ethernetPort2, 320, 75);
    panelStyle = exCanvasUIControl::kSmallDisplay;
    Place(frontPanel, 605, 10);
    logo = exPanelDrawing::LoadLogo();
    titleBox = exPanelDrawing::LogoTitleBox();
}

wxSize exBaseNode19InchLogo::Paint(wxGraphicsContext* gc)
{
    PaintFront(gc);
    // A module in a switch shows only its front.
    if (!host)
        PaintBack(gc);
    return wxSize(width, height);
}

void exBaseNode19InchLogo::PaintTitle(wxGraphicsContext* gc)
{
    exPanelDrawing::PaintLogoTitle(gc, title, titleBox, displayScale);
}
