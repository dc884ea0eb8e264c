#pragma once

#include <functional>

#include "common/controls/canvastextcontrol.h"

// The find text: typed characters only (control characters are dropped), never more than its box
// holds beside the count of matches ("2 of 7"), or "no match" on the entry's invalid fill.
class exFindEntry : public exCanvasTextControl {
public:
    // The longest text taken, whatever the width of its characters (some have none).
    static constexpr size_t kMaxLength = 200;
    // Room kept at the right end for the count, in design units.
    static constexpr int kCountRoom = 100;

    exFindEntry(exCanvasControl* parent, int x, int y, int width, int height);

    wxSize Paint(wxGraphicsContext* gc) override;
    // A typed character is added, backspace takes the last one back; either tells `edited`.
    void OnChar(wxChar character) override;

    // What the count shows: the current match counted from 1, and the number of matches.
    void SetCount(int position, int count);
    // "2 of 7", "no match", or nothing while the text is empty.
    wxString CountText() const;
    // Whether a character is text that can be typed into the entry.
    static bool IsTypedCharacter(wxChar character);

    std::function<void()> edited;
    int matchPosition = 0;
    int matchCount = 0;

private:
    // Whether `candidate` fits the entry beside the count.
    bool Holds(const wxString& candidate) const;
};
