#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzRack;

// One input surface of the program driven by arbitrary input: each harness reads its input as
// a script of steps through the program's own handlers on the rack. Run returns what went
// wrong, empty when nothing did; memory errors, leaks and undefined behaviour on the way are
// the sanitizers' findings.
class FuzzHarness {
public:
    explicit FuzzHarness(FuzzRack& rack) : rack(rack) {}
    virtual ~FuzzHarness() = default;
    virtual std::string Run(const uint8_t* data, size_t size) = 0;

protected:
    FuzzRack& rack;
};
