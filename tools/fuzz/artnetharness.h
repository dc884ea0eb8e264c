#pragma once

#include "fuzzharness.h"

// ArtPollReplies into the ID parsing: raw datagrams and replies whose long name and bytes come
// from the input, from the address of any device of a rack of every model or from strangers,
// at any point of the read-backs. A reply may change the ID of the device it came from and of
// no other, and an ID is the number after "ID:" or the foreign mark.
class ArtNetHarness : public FuzzHarness {
public:
    using FuzzHarness::FuzzHarness;
    std::string Run(const uint8_t* data, size_t size) override;
};
