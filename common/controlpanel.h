#pragma once

#include "common/basecanvaspanel.h"

// The bar above the rack: scan and update switches, logo and Exit.
class exControlPanel : public exBaseCanvasPanel {
public:
    static constexpr int kHeight = 60;

    explicit exControlPanel(wxWindow* parent);
    ~exControlPanel() override;
};
