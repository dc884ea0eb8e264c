#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include <wx/string.h>

class exBaseNode;

// Tells which devices hold a text, ignoring case, in their name, model name, address, ID or unit
// number. A module in a switch's bay has no address, ID or unit of its own and is matched on its
// name and model name alone. What a device is compared against is lower-cased once and kept; it
// is made again only when one of the device's own texts has changed.
class exDeviceMatcher {
public:
    // Where the devices that hold `foldedQuery` (lower-cased by Fold) stand in `devices`, in
    // their order. An empty text matches nothing.
    void Match(const std::vector<exBaseNode*>& devices, const wxString& foldedQuery,
               std::vector<size_t>& places);
    // Lower case, character by character.
    static wxString Fold(const wxString& text);

private:
    // The device's texts as they were when `folded` was made from them.
    struct Entry {
        wxString name;
        wxString title;
        wxString ipText;
        int deviceId = 0;
        uint16_t unitNumber = 0;
        bool hosted = false;
        wxString folded;
    };

    const wxString& Folded(const exBaseNode* device);
    static bool Current(const Entry& entry, const exBaseNode* device);
    static Entry Make(const exBaseNode* device);

    std::unordered_map<const exBaseNode*, Entry> entries;
};
