#pragma once

// The X screen as an end-to-end test sees and drives it: whole-screen captures read back as
// pixels, and real pointer and key events sent with xdotool (XTEST), exactly as a user's.
#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb& other) const
    {
        return r == other.r && g == other.g && b == other.b;
    }
    bool IsBlack() const { return r < 24 && g < 24 && b < 24; }
    bool IsWhite() const { return r > 230 && g > 230 && b > 230; }
};

class Shot {
public:
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    bool ok() const { return width > 0 && height > 0; }
    Rgb At(int x, int y) const;
};

namespace xscreen {

// The whole screen, as xwd sees it.
Shot Capture();
// The whole screen written as a PNG file.
bool SavePng(const std::string& path);
// Runs xdotool with these arguments; its standard output.
std::string Xdotool(const std::string& arguments);
void Click(int x, int y);
// Key names as xdotool knows them ("BackSpace", "Return").
void Key(const std::string& keys);
// Typed text, one key per character.
void Type(const std::string& text);

} // namespace xscreen
