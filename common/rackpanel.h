#pragma once

#include "common/basecanvaspanel.h"

// The rack view: every detected device drawn as its front and back panels, stacked.
class exRackPanel : public exBaseCanvasPanel {
public:
    exRackPanel(wxWindow* parent, const wxString& name);
    ~exRackPanel() override;
};
