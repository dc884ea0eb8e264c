#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Reads a fuzz input as a script: single bytes, 16-bit numbers and length-prefixed byte chunks,
// never past its end. An exhausted input reads as zeros and empty chunks, so every input is a
// valid script.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data(data), size(size) {}

    bool Empty() const { return offset >= size; }
    uint8_t U8();
    uint16_t U16();
    uint32_t U32();
    // A chunk: a 16-bit length, then up to that many bytes (fewer when the input ends first).
    std::vector<uint8_t> Chunk();
    // Whatever is left.
    std::vector<uint8_t> Rest();

private:
    const uint8_t* data;
    size_t size;
    size_t offset = 0;
};
