#pragma once

#include "devices/basenodetabletop.h"

// A black table-top node with three DMX ports, two sockets and a display with grey keys.
class exNodeBeta : public exBaseNodeTableTop {
public:
    static constexpr uint16_t kModelCode = 0x0103;

    explicit exNodeBeta(exCanvasControl* parent);

protected:
    void PaintFrontFace(wxGraphicsContext* gc) override;
};
