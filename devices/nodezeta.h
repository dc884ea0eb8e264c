#pragma once

#include <wx/bitmap.h>

#include "devices/basenode19inch.h"

// A 19-inch node with eight DMX ports on its front; also the plug-in module of the large switch. It stays hidden until it has answered the device settings request.
class exNodeZeta : public exBaseNode19Inch {
public:
    static constexpr uint16_t kModelCode = 0x010A;

    explicit exNodeZeta(exCanvasControl* parent);

    wxSize Paint(wxGraphicsContext* gc) override;
    void PaintTitle(wxGraphicsContext* gc) override;

    wxBitmap logo;
};
