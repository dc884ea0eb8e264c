#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzRack;

// Kivnet datagrams from the addresses of a rack that holds one device of every model: the input
// picks a device and how far its read-back has gone (every stage of every device is reachable),
// then interleaves its datagrams with the simulated devices' real answers and the clock; the
// read-back is then let run to its end. Returns what went wrong, empty when nothing did.
class KivnetHarness {
public:
    explicit KivnetHarness(FuzzRack &rack) : rack(rack) {}
    std::string Run(const uint8_t *data, size_t size);

private:
    FuzzRack &rack;
};
