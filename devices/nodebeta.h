#pragma once

#include "devices/basenode.h"

// A black table-top node with three DMX ports, two sockets and a display with grey keys.
class exNodeBeta : public exBaseNode {
public:
    static constexpr uint16_t kModelCode = 0x0103;

    explicit exNodeBeta(exCanvasControl* parent);

    wxSize PaintFront(wxGraphicsContext* gc) override;
    wxSize PaintBack(wxGraphicsContext* gc) override;
};
