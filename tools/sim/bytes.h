#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The simulator's own reader and writer for datagram fields. They are kept apart from the
// program's message code on purpose: the simulated devices read and build every datagram from
// their own offsets, so a wrong offset in the program shows up as a wrong answer here.
namespace sim {

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t length) : data_(data), length_(length) {}

    size_t Length() const { return length_; }
    bool Has(size_t offset, size_t width) const { return offset + width <= length_; }

    uint8_t U8(size_t offset) const { return Has(offset, 1) ? data_[offset] : 0; }
    uint16_t U16Be(size_t offset) const { return uint16_t(U8(offset) << 8 | U8(offset + 1)); }
    uint16_t U16Le(size_t offset) const { return uint16_t(U8(offset + 1) << 8 | U8(offset)); }
    uint32_t U32Be(size_t offset) const
    {
        return uint32_t(U16Be(offset)) << 16 | U16Be(offset + 2);
    }
    uint32_t U32Le(size_t offset) const
    {
        return uint32_t(U16Le(offset + 2)) << 16 | U16Le(offset);
    }
    // Text of at most `width` bytes, ending at the first zero byte or the datagram's end.
    std::string Text(size_t offset, size_t width) const;

private:
    const uint8_t* data_;
    size_t length_;
};

// Builds a datagram of fixed length; every byte not written stays 0.
class ByteWriter {
public:
    explicit ByteWriter(size_t length) : bytes_(length, 0) {}

    void U8(size_t offset, uint8_t value) { bytes_.at(offset) = value; }
    void U16Be(size_t offset, uint16_t value)
    {
        U8(offset, uint8_t(value >> 8));
        U8(offset + 1, uint8_t(value));
    }
    void U16Le(size_t offset, uint16_t value)
    {
        U8(offset, uint8_t(value));
        U8(offset + 1, uint8_t(value >> 8));
    }
    void U32Be(size_t offset, uint32_t value)
    {
        U16Be(offset, uint16_t(value >> 16));
        U16Be(offset + 2, uint16_t(value));
    }
    void Bytes(size_t offset, const uint8_t* data, size_t width);
    // UTF-8 text cut to at most `maxBytes` bytes at a character boundary; the rest stays 0.
    void Text(size_t offset, const std::string& text, size_t maxBytes);

    std::vector<uint8_t>& Data() { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

// Length of the longest prefix of `text` that fits `maxBytes` without splitting a character.
size_t Utf8PrefixLength(const std::string& text, size_t maxBytes);

} // namespace sim
