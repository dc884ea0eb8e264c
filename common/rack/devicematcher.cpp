#include "common/rack/devicematcher.h"

#include <glib.h>

#include "devices/basenode.h"

namespace {
// Between the fields: a typed text holds no line break, so no match spans two fields.
constexpr wxChar kFieldBreak = '\n';
} // namespace

wxString exDeviceMatcher::Fold(const wxString& text)
{
    // By the Unicode tables, not the locale's: "Ä" is found by "ä" under any locale.
    wxString folded;
    folded.reserve(text.length());
    for (wxUniChar character : text)
        folded += wxUniChar(g_unichar_tolower(gunichar(character.GetValue())));
    return folded;
}

void exDeviceMatcher::Match(const std::vector<exBaseNode*>& devices, const wxString& foldedQuery,
                            std::vector<size_t>& places)
{
    places.clear();
    // Entries of devices that went with a rack emptied and filled again.
    if (entries.size() > 2 * devices.size() + 16)
        entries.clear();
    if (foldedQuery.empty())
        return;
    for (size_t place = 0; place < devices.size(); ++place)
        if (Folded(devices[place]).find(foldedQuery) != wxString::npos)
            places.push_back(place);
}

const wxString& exDeviceMatcher::Folded(const exBaseNode* device)
{
    Entry& entry = entries[device];
    if (!Current(entry, device) || entry.folded.empty())
        entry = Make(device);
    return entry.folded;
}

bool exDeviceMatcher::Current(const Entry& entry, const exBaseNode* device)
{
    return entry.hosted == (device->host != nullptr) && entry.deviceId == device->deviceId &&
           entry.unitNumber == device->network.unitNumber && entry.name == device->deviceName &&
           entry.title == device->title && entry.ipText == device->network.ipText;
}

exDeviceMatcher::Entry exDeviceMatcher::Make(const exBaseNode* device)
{
    Entry entry;
    entry.name = device->deviceName;
    entry.title = device->title;
    entry.ipText = device->network.ipText;
    entry.deviceId = device->deviceId;
    entry.unitNumber = device->network.unitNumber;
    entry.hosted = device->host != nullptr;
    wxString folded = Fold(entry.name) + kFieldBreak + Fold(entry.title);
    if (!entry.hosted) {
        folded << kFieldBreak << entry.ipText << kFieldBreak << entry.unitNumber;
        // ID 0 is shown as "ID: -": no ID is known yet.
        if (entry.deviceId != 0)
            folded << kFieldBreak << entry.deviceId;
    }
    entry.folded = folded;
    return entry;
}
