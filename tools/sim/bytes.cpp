#include "bytes.h"

namespace sim {

std::string ByteReader::Text(size_t offset, size_t width) const
{
    std::string text;
    for (size_t i = 0; i < width && Has(offset + i, 1) && data_[offset + i] != 0; ++i)
        text.push_back(char(data_[offset + i]));
    return text;
}

void ByteWriter::Bytes(size_t offset, const uint8_t* data, size_t width)
{
    for (size_t i = 0; i < width; ++i)
        U8(offset + i, data[i]);
}

void ByteWriter::Text(size_t offset, const std::string& text, size_t maxBytes)
{
    const size_t length = Utf8PrefixLength(text, maxBytes);
    Bytes(offset, reinterpret_cast<const uint8_t*>(text.data()), length);
}

size_t Utf8PrefixLength(const std::string& text, size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text.size();
    size_t length = maxBytes;
    // Step back over continuation bytes (10xxxxxx) so no character is cut in half.
    while (length > 0 && (uint8_t(text[length]) & 0xC0) == 0x80)
        --length;
    return length;
}

} // namespace sim
