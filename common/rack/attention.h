#pragma once

#include <vector>

class exBaseNode;

// Which devices need the technician: lost, unreachable (outside every local subnet, as the rack
// draws it), holding values not yet sent (drawn in red), or found a while ago and still not read
// back, and the next of them in rack order.
class exAttention {
public:
    static bool Needs(const exBaseNode& device);
    static bool HoldsUnsentValues(const exBaseNode& device);
    // The next device after `from` (+1) or before it (-1) that needs attention, wrapping round
    // the rack, `from` itself last; from the rack's start (or end) when `from` is not in it.
    // Null when none needs attention.
    static exBaseNode* Next(const std::vector<exBaseNode*>& devices, const exBaseNode* from,
                            int direction);
};
