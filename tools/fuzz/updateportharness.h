#pragma once

#include "fuzzharness.h"

// Datagrams on the update port into the rack's discovery handler: raw ones, and discovery
// replies of every model with fields and bytes taken from the input, from addresses inside and
// outside the local subnet, between the clock's ticks and the read-backs they start. After each
// datagram the rack must hold each device key once, find every device by its address and key
// as a walk of the rack does, and show the count of devices it shows.
class UpdatePortHarness : public FuzzHarness {
public:
    using FuzzHarness::FuzzHarness;
    std::string Run(const uint8_t* data, size_t size) override;

private:
    std::string CheckRack();

};
