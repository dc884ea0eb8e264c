#include "framefinder.h"

#include <cstddef>

namespace {

// The white run of `line` that holds `at`: its first and last pixel; false when `at` is not white.
bool RunAround(const FrameFinder::Line& line, int at, int& first, int& last)
{
    if (at < 0 || at >= int(line.size()) || !line[size_t(at)])
        return false;
    first = last = at;
    while (first > 0 && line[size_t(first - 1)])
        --first;
    while (last + 1 < int(line.size()) && line[size_t(last + 1)])
        ++last;
    return true;
}

} // namespace

FrameFinder::Box FrameFinder::Find(Source& screen)
{
    const Line middle = screen.Column(screen.Width() / 2);
    for (int y = 0; y + 1 < int(middle.size()); ++y) {
        // The top edge: two white rows, the first of them below something that is not white.
        if (!middle[size_t(y)] || !middle[size_t(y + 1)] || (y > 0 && middle[size_t(y - 1)]))
            continue;
        Box box;
        if (EdgesFrom(screen, y, box))
            return box;
    }
    return Box{};
}

// From a candidate top edge: the row's white run gives the left and right edges, which must run
// down together to a bottom edge that is white across.
bool FrameFinder::EdgesFrom(Source& screen, int top, Box& box)
{
    int left = 0, right = 0;
    if (!RunAround(screen.Row(top), screen.Width() / 2, left, right) ||
        right - left + 1 < kLeastWidth)
        return false;
    int first = 0, leftBottom = 0, rightBottom = 0;
    if (!RunAround(screen.Column(left), top, first, leftBottom) ||
        !RunAround(screen.Column(right), top, first, rightBottom) || leftBottom != rightBottom ||
        leftBottom - top + 1 < kLeastHeight)
        return false;
    int bottomLeft = 0, bottomRight = 0;
    if (!RunAround(screen.Row(leftBottom), screen.Width() / 2, bottomLeft, bottomRight) ||
        bottomLeft != left || bottomRight != right)
        return false;
    box = Box{left, top, right, leftBottom};
    return true;
}
