#include "fuzzinput.h"

#include <algorithm>

uint8_t FuzzInput::U8()
{
    return offset < size ? data[offset++] : 0;
}

uint16_t FuzzInput::U16()
{
    const uint16_t high = U8();
    return uint16_t(high << 8 | U8());
}

uint32_t FuzzInput::U32()
{
    const uint32_t high = U16();
    return high << 16 | U16();
}

std::vector<uint8_t> FuzzInput::Chunk()
{
    const size_t wanted = U16();
    const size_t taken = std::min(wanted, size - std::min(offset, size));
    std::vector<uint8_t> chunk(data + offset, data + offset + taken);
    offset += taken;
    return chunk;
}

std::vector<uint8_t> FuzzInput::Rest()
{
    std::vector<uint8_t> rest;
    if (offset < size)
        rest.assign(data + offset, data + size);
    offset = size;
    return rest;
}
