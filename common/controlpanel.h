#pragma once

#include <wx/panel.h>

// The bar above the rack: scan and update switches, logo and Exit.
class exControlPanel : public wxPanel {
public:
    static constexpr int kHeight = 60;

    explicit exControlPanel(wxWindow* parent);
};
