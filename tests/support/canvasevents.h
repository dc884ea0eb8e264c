#pragma once

#include <string>
#include <vector>

#include <wx/event.h>
#include <wx/image.h>

#include "common/controls/canvascontrol.h"
#include "common/controls/textmeasure.h"

// Mouse events as the canvas panel hands them to a control tree.
wxMouseEvent MouseAt(wxEventType type, int x, int y);
inline wxMouseEvent PressAt(int x, int y)
{
    return MouseAt(wxEVT_LEFT_DOWN, x, y);
}
inline wxMouseEvent MoveTo(int x, int y)
{
    return MouseAt(wxEVT_MOTION, x, y);
}

// Draws a control tree into an off-screen bitmap of the given size, on a white background.
wxImage PaintToImage(exCanvasControl& control, int width, int height);

// Fixes every text's extent while it lives: width from the table, or 10 per character.
class ScopedTextMeasurer {
public:
    struct Entry {
        wxString text;
        double width;
    };
    explicit ScopedTextMeasurer(std::vector<Entry> widths, double height = 12.0);
    ~ScopedTextMeasurer();
    ScopedTextMeasurer(const ScopedTextMeasurer&) = delete;
    ScopedTextMeasurer& operator=(const ScopedTextMeasurer&) = delete;

    int calls = 0;
};

// A plain control that writes its name into a shared log when told of a click.
class RecordingControl : public exCanvasControl {
public:
    RecordingControl(exCanvasControl* parent, int x, int y, int width, int height,
                     const wxString& name, std::vector<std::string>* log, bool handles = false)
        : exCanvasControl(parent, x, y, width, height, name), log(log), handles(handles)
    {
        if (parent)
            parent->children->Append(this);
    }

    bool OnClick(exCanvasControl* source, int cx, int cy) override
    {
        if (log)
            log->push_back(std::string(label.utf8_str()) + "<" +
                           std::string(source->label.utf8_str()) + "@" +
                           std::to_string(cx) + "," + std::to_string(cy));
        return handles;
    }

    std::vector<std::string>* log;
    bool handles;
};
