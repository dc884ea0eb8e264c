#pragma once

#include "fuzzharness.h"

// Kivnet datagrams from the addresses of a rack that holds one device of every model: the input
// picks a device and how far its read-back has gone (every stage of every device is reachable),
// then interleaves its datagrams with the simulated devices' real answers and the clock; the
// read-back is then let run to its end. Returns what went wrong, empty when nothing did.
class KivnetHarness : public FuzzHarness {
public:
    using FuzzHarness::FuzzHarness;
    std::string Run(const uint8_t* data, size_t size) override;
};
