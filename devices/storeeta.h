#pragma once

#include <wx/bitmap.h>

#include "devices/basenode19inch.h"

// A 19-inch show store with four DMX ports on its back. It stays hidden until it has answered the device settings request.
class exStoreEta : public exBaseNode19Inch {
public:
    static constexpr uint16_t kModelCode = 0x0203;

    explicit exStoreEta(exCanvasControl* parent);

    wxSize Paint(wxGraphicsContext* gc) override;
    void PaintTitle(wxGraphicsContext* gc) override;

    wxBitmap logo;
};
