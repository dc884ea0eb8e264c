#pragma once

#include <cstdint>

#include "common/controls/canvastextcontrol.h"

// A text entry for an IPv4 address, filled green while the text is a usable address and red
// otherwise.
class exCanvasIPTextControl : public exCanvasTextControl {
public:
    using exCanvasTextControl::exCanvasTextControl;

    wxSize Paint(wxGraphicsContext* gc) override;
};

// The address of a dotted quad of four decimal parts 0..255; 0 when the text is not one, and for
// 0.0.0.0, which no device can use either.
uint32_t ParseDottedQuad(const wxString& text);
