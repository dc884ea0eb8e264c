#include "net/wirereader.h"

#include <cstring>

#include "net/utf8text.h"

bool WireReader::Has(size_t offset, size_t width) const
{
    return offset <= length_ && width <= length_ - offset;
}

bool WireReader::Check(size_t offset, size_t width) const
{
    if (Has(offset, width))
        return true;
    ok_ = false;
    return false;
}

uint8_t WireReader::ReadU8(size_t offset) const
{
    return Check(offset, 1) ? data_[offset] : 0;
}

uint16_t WireReader::ReadU16Be(size_t offset) const
{
    if (!Check(offset, 2))
        return 0;
    return static_cast<uint16_t>((data_[offset] << 8) | data_[offset + 1]);
}

uint16_t WireReader::ReadU16Le(size_t offset) const
{
    if (!Check(offset, 2))
        return 0;
    return static_cast<uint16_t>(data_[offset] | (data_[offset + 1] << 8));
}

uint32_t WireReader::ReadU32Be(size_t offset) const
{
    if (!Check(offset, 4))
        return 0;
    return (uint32_t(data_[offset]) << 24) | (uint32_t(data_[offset + 1]) << 16) |
           (uint32_t(data_[offset + 2]) << 8) | uint32_t(data_[offset + 3]);
}

uint32_t WireReader::ReadU32Le(size_t offset) const
{
    if (!Check(offset, 4))
        return 0;
    return uint32_t(data_[offset]) | (uint32_t(data_[offset + 1]) << 8) |
           (uint32_t(data_[offset + 2]) << 16) | (uint32_t(data_[offset + 3]) << 24);
}

bool WireReader::BytesEqual(size_t offset, const uint8_t* expected, size_t width) const
{
    return Check(offset, width) && std::memcmp(data_ + offset, expected, width) == 0;
}

void WireReader::CopyBytes(size_t offset, uint8_t* out, size_t width) const
{
    if (Check(offset, width))
        std::memcpy(out, data_ + offset, width);
    else
        std::memset(out, 0, width);
}

wxString WireReader::ReadText(size_t offset, size_t width) const
{
    if (offset >= length_)
        return wxString();
    const size_t available = std::min(width, length_ - offset);
    const uint8_t* start = data_ + offset;
    const void* zero = std::memchr(start, 0, available);
    const size_t textLength = zero ? static_cast<const uint8_t*>(zero) - start : available;
    return DecodeUtf8Lenient(start, textLength);
}
