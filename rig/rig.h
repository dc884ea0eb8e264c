#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "rig/rigdevice.h"

class exBaseNode;

// What loading a rig did: how many of its devices are on the network and how many of their
// values now wait to be sent, and which entries could not be used.
struct exRigLoadSummary {
    int matched = 0;
    int differing = 0;
    std::vector<std::string> absent;     // no device with the entry's model and unit number
    std::vector<std::string> waiting;    // the device is still being read back
    std::vector<std::string> notApplied; // values no dialog of the device could produce
};

// A whole rig: the rack's devices into a rig document, and a document back onto them.
class exRig {
public:
    using Finder = std::function<exBaseNode*(uint16_t modelCode, uint16_t unitNumber)>;

    // The devices (in rack order) that have been read back completely; the others are left out
    // and counted in `leftOut`. Changes no device.
    static exRigDocument Take(const std::vector<exBaseNode*>& devices, const std::string& savedAt,
                              int& leftOut);
    // Makes each entry's differing values its device's pending edits. The document has been
    // checked whole (exRigJson::Read); nothing is sent.
    static exRigLoadSummary Restore(const exRigDocument& document, const Finder& find);
    // "Pylon NodeDelta unit 4660 "FOH Delta"": how messages name an entry.
    static std::string EntryLabel(const exRigDevice& entry);
};
