#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <wx/string.h>

// Builds an outgoing datagram of a fixed length, every byte 0 until written. Writes are placed
// by offset and checked against the length; a write that does not fit is a programming error.
class WireWriter {
public:
    explicit WireWriter(size_t length) : bytes_(length, 0) {}

    void WriteU8(size_t offset, uint8_t value);
    void WriteU16Be(size_t offset, uint16_t value);
    void WriteU16Le(size_t offset, uint16_t value);
    void WriteU32Be(size_t offset, uint32_t value);
    void WriteU32Le(size_t offset, uint32_t value);
    void WriteBytes(size_t offset, const uint8_t* data, size_t width);

    // UTF-8 text cut to `width` bytes at a character boundary; the rest of the field stays 0.
    void WriteText(size_t offset, size_t width, const wxString& text);

    std::vector<uint8_t>& Bytes() { return bytes_; }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    bool Fits(size_t offset, size_t width) const;

    std::vector<uint8_t> bytes_;
};
