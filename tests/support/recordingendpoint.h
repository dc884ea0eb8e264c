#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <wx/arrstr.h>

#include "net/ipv4.h"

// The real endpoint class with its send path redirected to a list: the protocol header hook still
// runs, so what is recorded is exactly what would have gone on the wire, and to which address.
template <class Endpoint>
class RecordingEndpoint : public Endpoint {
public:
    struct Sent {
        uint32_t ip;
        std::vector<uint8_t> bytes;
        // Formatted only when asked: fuzzing records many thousands of sends a second.
        wxString Address() const { return FormatIpAddress(ip); }
    };

    RecordingEndpoint() : Endpoint(nullptr, 0) {}

    // Every send ends here, whether it named the address as text or as a number.
    bool SendToIp(uint8_t* buffer, size_t length, uint32_t ip) override
    {
        if (this->disabled)
            return false;
        this->FillHeader(buffer);
        sent.push_back({ip, std::vector<uint8_t>(buffer, buffer + length)});
        return true;
    }

    std::vector<Sent> sent;
};
