#pragma once

#include <cstdint>

#include <wx/string.h>

// IPv4 addresses are held as 32-bit values in host order, first octet in the most significant
// byte (127.0.0.1 is 0x7F000001).
constexpr uint32_t kLoopbackAddress = 0x7F000001;
constexpr uint32_t kLimitedBroadcastAddress = 0xFFFFFFFF;

// "%d.%d.%d.%d", most significant octet first.
wxString FormatIpAddress(uint32_t ip);

// Strict dotted-quad parser: four decimal octets 0..255 separated by dots, nothing else.
bool ParseIpAddress(const wxString& text, uint32_t& ip);
