#pragma once

#include <cstddef>
#include <vector>

#include <wx/string.h>

#include "common/rack/devicematcher.h"

class exBaseNode;

// The find text's matches among the rack's devices, in rack order, and which of them is current.
// The matches are made again from the rack as it is now before every use, so that none is left
// pointing at a device that went or no longer holds the text.
class exRackFinder {
public:
    // A new text: its first match in rack order becomes current.
    void SetQuery(const std::vector<exBaseNode*>& devices, const wxString& query);
    // Matches again after devices came, went or changed their texts. The current match stays
    // current while it matches; else the next match in rack order after its place takes over.
    // True when the matches or the current one changed.
    bool Refresh(const std::vector<exBaseNode*>& devices);
    // The next (+1) or previous (-1) match becomes current, wrapping at the ends.
    exBaseNode* Step(int direction);
    void Clear();

    exBaseNode* Current() const;
    const std::vector<exBaseNode*>& Matches() const { return matches; }
    // The current match counted from 1 (0 when there is none), and the number of matches.
    int Position() const { return current + 1; }
    int Count() const { return int(matches.size()); }
    bool HasQuery() const { return !foldedQuery.empty(); }

private:
    void Match(const std::vector<exBaseNode*>& devices);

    exDeviceMatcher matcher;
    wxString foldedQuery;
    std::vector<exBaseNode*> matches;
    // Where each match stands among the rack's devices.
    std::vector<size_t> places;
    int current = -1;
};
