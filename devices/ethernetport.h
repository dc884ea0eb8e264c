#pragma once

#include <wx/colour.h>
#include <wx/font.h>

#include "common/controls/canvascontrol.h"

struct exNetworkSettings;
class exBaseNode;

// A device's Ethernet socket row (or the switches' "i" key) with the device's address and mask.
// It shows the device's shared network record and keeps that record's texts current.
class exEthernetPort : public exCanvasControl {
public:
    static constexpr int kInfoKey = -1;

    exEthernetPort(exBaseNode* device, exNetworkSettings* network);

    wxSize Paint(wxGraphicsContext* gc) override;
    // Opens the device's network settings dialog over the rack.
    bool OnClick(exCanvasControl* source, int x, int y) override;
    // The network settings dialog for this element, made for `root`, not yet open.
    virtual exCanvasControl* CreateDialog(exCanvasControl* root);

    // IP and mask texts from the record's current values.
    void RebuildTexts();

    int socketCount = 0;
    bool circularHousing = true;
    wxFont labelFont;
    exNetworkSettings* network;
    int addressTextOffsetX = 0;
    int addressTextOffsetY = 0;
    wxColour textColour;
};
