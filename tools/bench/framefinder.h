#pragma once

#include <vector>

// Finds an open settings dialog on the program's window from a few lines of pixels: a dialog is
// framed by a white line 2 pixels wide and centred over the rack, so its top edge crosses the
// window's middle column as two white rows, and its left and right edges run down from there.
// Reading single rows and columns keeps a look at the screen well under a millisecond.
class FrameFinder {
public:
    using Line = std::vector<bool>; // white or not, pixel by pixel

    // Where the pixels come from: the window's rows and columns, in window pixels.
    class Source {
    public:
        virtual ~Source() = default;
        virtual int Width() const = 0;
        virtual int Height() const = 0;
        virtual Line Row(int y) = 0;
        virtual Line Column(int x) = 0;
    };

    // The frame's outer edges, in window pixels.
    struct Box {
        int left = 0, top = 0, right = 0, bottom = 0;
        bool found() const { return right > left; }
    };

    static constexpr int kLeastWidth = 100;
    static constexpr int kLeastHeight = 60;

    static Box Find(Source& screen);

private:
    static bool EdgesFrom(Source& screen, int top, Box& box);
};
