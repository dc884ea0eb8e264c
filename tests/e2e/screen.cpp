#include "e2e/screen.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

std::string ReadAll(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        output.append(buffer, got);
    pclose(pipe);
    return output;
}

// The next number of a PPM header, skipping white space and comments.
bool HeaderNumber(const std::string& data, size_t& at, int& value)
{
    while (at < data.size()) {
        if (data[at] == '#') {
            while (at < data.size() && data[at] != '\n')
                ++at;
        } else if (std::isspace(static_cast<unsigned char>(data[at]))) {
            ++at;
        } else {
            break;
        }
    }
    size_t digits = at;
    while (at < data.size() && std::isdigit(static_cast<unsigned char>(data[at])))
        ++at;
    if (digits == at)
        return false;
    value = std::atoi(data.substr(digits, at - digits).c_str());
    return true;
}

} // namespace

Rgb Shot::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return Rgb{};
    const size_t at = (size_t(y) * size_t(width) + size_t(x)) * 3;
    return Rgb{rgb[at], rgb[at + 1], rgb[at + 2]};
}

namespace xscreen {

Shot Capture()
{
    Shot shot;
    const std::string data = ReadAll("xwd -root -silent | convert xwd:- ppm:- 2>/dev/null");
    if (data.size() < 2 || data.compare(0, 2, "P6") != 0)
        return shot;
    size_t at = 2;
    int width = 0, height = 0, depth = 0;
    if (!HeaderNumber(data, at, width) || !HeaderNumber(data, at, height) ||
        !HeaderNumber(data, at, depth) || depth != 255)
        return shot;
    ++at; // the single white space before the pixels
    const size_t size = size_t(width) * size_t(height) * 3;
    if (data.size() < at + size)
        return shot;
    shot.width = width;
    shot.height = height;
    shot.rgb.assign(data.begin() + long(at), data.begin() + long(at + size));
    return shot;
}

bool SavePng(const std::string& path)
{
    return std::system(("xwd -root -silent | convert xwd:- '" + path + "'").c_str()) == 0;
}

std::string Xdotool(const std::string& arguments)
{
    return ReadAll("xdotool " + arguments + " 2>/dev/null");
}

void Click(int x, int y)
{
    std::ostringstream arguments;
    // No --sync: it waits in vain when the pointer is already there; the events keep their order.
    arguments << "mousemove " << x << ' ' << y << " click 1";
    Xdotool(arguments.str());
}

void Key(const std::string& keys)
{
    Xdotool("key --delay 30 " + keys);
}

void Type(const std::string& text)
{
    Xdotool("type --delay 30 '" + text + "'");
}

} // namespace xscreen
