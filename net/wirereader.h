#pragma once

#include <cstddef>
#include <cstdint>

#include <wx/string.h>

// Reads fields of a received datagram by offset. Every read is bounds-checked against the
// received length: a read that does not fit returns 0 (or an empty text) and clears ok(), so a
// parser can check its minimum size up front and still never touch a byte it was not given.
class WireReader {
public:
    WireReader(const uint8_t* data, size_t length) : data_(data), length_(length) {}

    size_t Length() const { return length_; }
    bool Has(size_t offset, size_t width) const;
    bool ok() const { return ok_; }

    uint8_t ReadU8(size_t offset) const;
    uint16_t ReadU16Be(size_t offset) const;
    uint16_t ReadU16Le(size_t offset) const;
    uint32_t ReadU32Be(size_t offset) const;
    uint32_t ReadU32Le(size_t offset) const;
    bool BytesEqual(size_t offset, const uint8_t* expected, size_t width) const;
    void CopyBytes(size_t offset, uint8_t* out, size_t width) const;

    // Text of at most `width` bytes starting at `offset`, ending at the first zero byte, the field
    // end or the datagram end, whichever comes first; decoded leniently as UTF-8.
    wxString ReadText(size_t offset, size_t width) const;

private:
    bool Check(size_t offset, size_t width) const;

    const uint8_t* data_;
    size_t length_;
    mutable bool ok_ = true;
};
