#pragma once

// Small tools for writing expected datagrams by hand in tests: every byte 0 unless put there.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

inline void Put(std::vector<uint8_t>& bytes, size_t offset, std::initializer_list<uint8_t> values)
{
    std::copy(values.begin(), values.end(), bytes.begin() + long(offset));
}

inline void PutText(std::vector<uint8_t>& bytes, size_t offset, const std::string& text)
{
    std::copy(text.begin(), text.end(), bytes.begin() + long(offset));
}

// A Kivnet datagram of `length` bytes: magic 00 36 93 16, version 00 01, then the code word.
inline std::vector<uint8_t> Kivnet(uint16_t code, size_t length = 8)
{
    std::vector<uint8_t> bytes(length, 0);
    Put(bytes, 0, {0x00, 0x36, 0x93, 0x16, 0x00, 0x01, uint8_t(code >> 8), uint8_t(code)});
    return bytes;
}

// The discovery request of the update port: magic "M-R\0", code 0x0010, two zero bytes.
inline std::vector<uint8_t> DiscoveryRequest()
{
    return {0x4D, 0x2D, 0x52, 0x00, 0x00, 0x10, 0x00, 0x00};
}
