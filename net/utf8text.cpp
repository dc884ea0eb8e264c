#include "net/utf8text.h"

namespace {

constexpr wxUniChar::value_type kReplacementCharacter = 0xFFFD;

// Length of the valid UTF-8 sequence at data[0..available), or 0 when it is not valid.
size_t ValidSequenceLength(const uint8_t* data, size_t available, uint32_t& codePoint)
{
    const uint8_t lead = data[0];
    size_t length;
    uint32_t minimum;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        minimum = 0x80;
        codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        minimum = 0x800;
        codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        minimum = 0x10000;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (length > available)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((data[i] & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (data[i] & 0x3F);
    }
    const bool overlong = codePoint < minimum;
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (overlong || surrogate || codePoint > 0x10FFFF)
        return 0;
    return length;
}

} // namespace

wxString DecodeUtf8Lenient(const uint8_t* data, size_t length)
{
    wxString text;
    size_t position = 0;
    while (position < length) {
        uint32_t codePoint = 0;
        const size_t sequence = ValidSequenceLength(data + position, length - position, codePoint);
        if (sequence == 0) {
            text += wxUniChar(kReplacementCharacter);
            ++position;
        } else {
            text += wxUniChar(codePoint);
            position += sequence;
        }
    }
    return text;
}

std::string EncodeUtf8Cut(const wxString& text, size_t maxBytes)
{
    const wxScopedCharBuffer utf8 = text.utf8_str();
    std::string encoded(utf8.data(), utf8.length());
    if (encoded.size() <= maxBytes)
        return encoded;
    size_t cut = maxBytes;
    // Step back over continuation bytes so that the cut lands on the start of a character.
    while (cut > 0 && (static_cast<uint8_t>(encoded[cut]) & 0xC0) == 0x80)
        --cut;
    encoded.resize(cut);
    return encoded;
}
