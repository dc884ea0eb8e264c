#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <wx/string.h>

// Texts on the wire are UTF-8. Names from devices are shown whatever they hold: an invalid byte
// sequence becomes U+FFFD instead of turning the whole text empty.
wxString DecodeUtf8Lenient(const uint8_t* data, size_t length);

// The UTF-8 bytes of `text`, cut to at most `maxBytes` without splitting a character.
std::string EncodeUtf8Cut(const wxString& text, size_t maxBytes);
