#include "common/rack/rackfinder.h"

#include <algorithm>

void exRackFinder::Match(const std::vector<exBaseNode*>& devices)
{
    matcher.Match(devices, foldedQuery, places);
    matches.clear();
    for (size_t place : places)
        matches.push_back(devices[place]);
}

void exRackFinder::SetQuery(const std::vector<exBaseNode*>& devices, const wxString& query)
{
    foldedQuery = exDeviceMatcher::Fold(query);
    Match(devices);
    current = matches.empty() ? -1 : 0;
}

bool exRackFinder::Refresh(const std::vector<exBaseNode*>& devices)
{
    // Only compared, never followed: the device may be gone.
    const exBaseNode* was = Current();
    const size_t wasPlace = current >= 0 ? places[size_t(current)] : 0;
    const std::vector<exBaseNode*> before = matches;
    Match(devices);
    const auto kept = std::find(matches.begin(), matches.end(), was);
    if (kept != matches.end()) {
        current = int(kept - matches.begin());
    } else if (matches.empty()) {
        current = -1;
    } else {
        const auto next = std::lower_bound(places.begin(), places.end(), wasPlace);
        current = next == places.end() ? 0 : int(next - places.begin());
    }
    return matches != before || Current() != was;
}

exBaseNode* exRackFinder::Step(int direction)
{
    if (matches.empty())
        return nullptr;
    const int count = Count();
    current = ((current + direction) % count + count) % count;
    return Current();
}

void exRackFinder::Clear()
{
    foldedQuery.clear();
    matches.clear();
    places.clear();
    current = -1;
}

exBaseNode* exRackFinder::Current() const
{
    return current >= 0 ? matches[size_t(current)] : nullptr;
}
