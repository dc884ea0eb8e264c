#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <wx/string.h>

class bxArtNetSocket;

// The program speaks Art-Net only to learn device IDs: it sends ArtPoll and reads the Long Name
// of each ArtPollReply, where the devices report "ID: n".
class exArtNetProtocol {
public:
    static constexpr uint16_t kOpPoll = 0x2000;
    static constexpr uint8_t kTalkToMe = 0x03;
    static constexpr size_t kPollLength = 14;
    static constexpr size_t kLongNameOffset = 44;
    static constexpr size_t kLongNameWidth = 64;
    static constexpr size_t kReplyMinLength = kLongNameOffset + kLongNameWidth;
    // ID given to nodes of other makers.
    static constexpr int kForeignNodeId = -1;

    static std::vector<uint8_t> BuildPoll();
    // False unless the datagram carries the Art-Net ID, a non-zero OpCode and a whole Long Name.
    static bool ParsePollReply(const uint8_t* data, size_t length, wxString& longName);
    static int DeviceIdFromLongName(const wxString& longName);

    static void PollAll(bxArtNetSocket& socket);
    // To the device's own address; a device without one (0) is polled through the broadcasts.
    static void PollDevice(bxArtNetSocket& socket, uint32_t ip);
};
