#pragma once

#include <memory>

#include "fuzzharness.h"

class SimulatedRig;

// Rig files as anyone could write them, into the reader that checks them and onto a rack of
// every model read back. A file the reader takes must write out and read back the same, and
// loading it must send nothing and leave every switch's loops paired both ways.
class RigFileHarness : public FuzzHarness {
public:
    explicit RigFileHarness(FuzzRack& rack);
    ~RigFileHarness() override;
    std::string Run(const uint8_t* data, size_t size) override;

private:
    // Read back once: loading only marks values, and what it marks is checked the same way
    // whatever earlier inputs left.
    std::unique_ptr<SimulatedRig> rig;
};
