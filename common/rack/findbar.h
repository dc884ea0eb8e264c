#pragma once

#include "common/controls/canvascontrol.h"

class exFindEntry;

// The strip the rack's find opens over the top edge of the rack: a caption, the find entry and
// the keys that step through the matches. It is the root of its own small tree, drawn in window
// pixels above the rack.
class exFindBar : public exCanvasControl {
public:
    static constexpr int kDesignHeight = 30;
    static constexpr const char* kCaption = "Find";
    static constexpr const char* kKeyHints = "Return: next    Shift+Return: previous    Esc: close";

    exFindBar();

    wxSize Paint(wxGraphicsContext* gc) override;

    exFindEntry* entry;
};
