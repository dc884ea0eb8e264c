#include "net/artnetprotocol.h"

#include <climits>

#include "net/artnetsocket.h"
#include "net/wirereader.h"
#include "net/wirewriter.h"

namespace {

constexpr size_t kIdOffset = 0;
constexpr size_t kOpCodeOffset = 8;
constexpr size_t kProtocolVersionOffset = 10;
constexpr size_t kFlagsOffset = 12;

// Decimal number after the marker, leading blanks skipped; 0 when no digit follows. Saturates
// instead of overflowing on an absurdly long run of digits.
int ParseDecimalAfter(const wxString& text, size_t start)
{
    size_t position = start;
    while (position < text.length() && text[position] == ' ')
        ++position;
    long long value = 0;
    for (; position < text.length(); ++position) {
        const wxUniChar c = text[position];
        if (c < '0' || c > '9')
            break;
        value = std::min<long long>(value * 10 + (c.GetValue() - '0'), INT_MAX);
    }
    return static_cast<int>(value);
}

} // namespace

std::vector<uint8_t> exArtNetProtocol::BuildPoll()
{
    WireWriter writer(kPollLength);
    writer.WriteBytes(kIdOffset, bxArtNetSocket::kId, sizeof(bxArtNetSocket::kId));
    writer.WriteU16Le(kOpCodeOffset, kOpPoll);
    writer.WriteU16Be(kProtocolVersionOffset, bxArtNetSocket::kProtocolVersion);
    writer.WriteU8(kFlagsOffset, kTalkToMe);
    return writer.Take();
}

bool exArtNetProtocol::ParsePollReply(const uint8_t* data, size_t length, wxString& longName)
{
    const WireReader reader(data, length);
    if (length < kReplyMinLength)
        return false;
    if (!reader.BytesEqual(kIdOffset, bxArtNetSocket::kId, sizeof(bxArtNetSocket::kId)))
        return false;
    if (reader.ReadU16Le(kOpCodeOffset) == 0)
        return false;
    longName = reader.ReadText(kLongNameOffset, kLongNameWidth);
    return true;
}

int exArtNetProtocol::DeviceIdFromLongName(const wxString& longName)
{
    if (!longName.Contains("Pylon") && !longName.Contains("StoreEta"))
        return kForeignNodeId;
    const size_t marker = longName.find("ID:");
    if (marker == wxString::npos)
        return 0;
    return ParseDecimalAfter(longName, marker + 3);
}

void exArtNetProtocol::PollAll(bxArtNetSocket& socket)
{
    std::vector<uint8_t> poll = BuildPoll();
    socket.SendToList(poll.data(), poll.size(), socket.broadcastAddresses);
}

void exArtNetProtocol::PollDevice(bxArtNetSocket& socket, uint32_t ip)
{
    std::vector<uint8_t> poll = BuildPoll();
    if (ip == 0)
        socket.SendToList(poll.data(), poll.size(), socket.broadcastAddresses);
    else
        socket.SendToIp(poll.data(), poll.size(), ip);
}
