#pragma once

#include <cstdint>

class exBaseNode;
class exCanvasControl;

// The device models the program knows, by the model code of their discovery reply.
class exModelCatalogue {
public:
    // A new device of the model, child of `parent` but not yet in its list; null for a code
    // that is no model of ours.
    static exBaseNode* Create(uint16_t modelCode, exCanvasControl* parent);
};
