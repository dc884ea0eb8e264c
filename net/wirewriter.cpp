#include "net/wirewriter.h"

#include <cstring>

#include <wx/debug.h>

#include "net/utf8text.h"

bool WireWriter::Fits(size_t offset, size_t width) const
{
    const bool fits = offset <= bytes_.size() && width <= bytes_.size() - offset;
    wxASSERT_MSG(fits, "write past the end of an outgoing datagram");
    return fits;
}

void WireWriter::WriteU8(size_t offset, uint8_t value)
{
    if (Fits(offset, 1))
        bytes_[offset] = value;
}

void WireWriter::WriteU16Be(size_t offset, uint16_t value)
{
    if (!Fits(offset, 2))
        return;
    bytes_[offset] = uint8_t(value >> 8);
    bytes_[offset + 1] = uint8_t(value);
}

void WireWriter::WriteU16Le(size_t offset, uint16_t value)
{
    if (!Fits(offset, 2))
        return;
    bytes_[offset] = uint8_t(value);
    bytes_[offset + 1] = uint8_t(value >> 8);
}

void WireWriter::WriteU32Be(size_t offset, uint32_t value)
{
    if (!Fits(offset, 4))
        return;
    for (int i = 0; i < 4; ++i)
        bytes_[offset + i] = uint8_t(value >> (24 - 8 * i));
}

void WireWriter::WriteU32Le(size_t offset, uint32_t value)
{
    if (!Fits(offset, 4))
        return;
    for (int i = 0; i < 4; ++i)
        bytes_[offset + i] = uint8_t(value >> (8 * i));
}

void WireWriter::WriteBytes(size_t offset, const uint8_t* data, size_t width)
{
    if (Fits(offset, width))
        std::memcpy(bytes_.data() + offset, data, width);
}

void WireWriter::WriteText(size_t offset, size_t width, const wxString& text)
{
    if (!Fits(offset, width))
        return;
    const std::string encoded = EncodeUtf8Cut(text, width);
    std::memcpy(bytes_.data() + offset, encoded.data(), encoded.size());
}
