#include "net/updateprotocol.h"

#include "net/ipv4.h"
#include "net/updatesocket.h"
#include "net/wirereader.h"
#include "net/wirewriter.h"

namespace {

constexpr size_t kMagicOffset = 0;
constexpr size_t kCodeOffset = 4;
constexpr size_t kReservedOffset = 6;

constexpr size_t kReplyNameOffset = 8;
constexpr size_t kReplyNameWidth = 18;
constexpr size_t kReplyMacOffset = 26;
constexpr size_t kReplyUnitOffset = 32;
constexpr size_t kReplyIpOffset = 40;
constexpr size_t kReplyMaskOffset = 44;
constexpr size_t kReplyModelOffset = 48;

constexpr size_t kSettingsUnitOffset = 8;
constexpr size_t kSettingsModelOffset = 10;
constexpr size_t kSettingsIpOffset = 14;
constexpr size_t kSettingsMaskOffset = 18;

std::vector<uint8_t> BuildHeaderOnly(uint16_t code, size_t length)
{
    WireWriter writer(length);
    writer.WriteBytes(kMagicOffset, exUpdateSocket::kMagic, sizeof(exUpdateSocket::kMagic));
    writer.WriteU16Be(kCodeOffset, code);
    return writer.Take();
}

} // namespace

std::vector<uint8_t> exUpdateProtocol::BuildDiscoveryRequest()
{
    return BuildHeaderOnly(kDiscoveryRequestCode, kHeaderLength);
}

bool exUpdateProtocol::ParseDiscoveryReply(const uint8_t* data, size_t length,
                                           exDiscoveryReply& reply)
{
    const WireReader reader(data, length);
    if (length < kDiscoveryReplyMinLength)
        return false;
    if (!reader.BytesEqual(kMagicOffset, exUpdateSocket::kMagic, sizeof(exUpdateSocket::kMagic)))
        return false;
    if (reader.ReadU16Be(kReservedOffset) != 0 ||
        reader.ReadU16Be(kCodeOffset) != kDiscoveryReplyCode)
        return false;

    reply.name = reader.ReadText(kReplyNameOffset, kReplyNameWidth);
    reader.CopyBytes(kReplyMacOffset, reply.mac.data(), reply.mac.size());
    reply.unitNumber = reader.ReadU16Be(kReplyUnitOffset);
    reply.ip = reader.ReadU32Be(kReplyIpOffset);
    reply.mask = reader.ReadU32Be(kReplyMaskOffset);
    reply.modelCode = reader.ReadU16Be(kReplyModelOffset);
    return true;
}

std::vector<uint8_t> exUpdateProtocol::BuildNetworkSettings(uint16_t unitNumber,
                                                            uint16_t modelCode, uint32_t ip,
                                                            uint32_t mask, bool dhcp)
{
    WireWriter writer(kNetworkSettingsLength);
    writer.WriteBytes(kMagicOffset, exUpdateSocket::kMagic, sizeof(exUpdateSocket::kMagic));
    writer.WriteU16Be(kCodeOffset, kNetworkSettingsCode);
    writer.WriteU16Be(kSettingsUnitOffset, unitNumber);
    writer.WriteU16Be(kSettingsModelOffset, modelCode);
    // The devices take address and mask with the last octet first.
    writer.WriteU32Le(kSettingsIpOffset, dhcp ? 0 : ip);
    writer.WriteU32Le(kSettingsMaskOffset, dhcp ? 0 : mask);
    return writer.Take();
}

void exUpdateProtocol::SendDiscoveryRequest(exUpdateSocket& socket)
{
    std::vector<uint8_t> request = BuildDiscoveryRequest();
    socket.SendToIp(request.data(), request.size(), kLimitedBroadcastAddress);
    socket.SendToIp(request.data(), request.size(), kLimitedBroadcastAddress);
    socket.SendToList(request.data(), request.size(), socket.broadcastAddresses);
}

void exUpdateProtocol::SendNetworkSettings(exUpdateSocket& socket, uint16_t unitNumber,
                                           uint16_t modelCode, uint32_t ip, uint32_t mask,
                                           bool dhcp)
{
    std::vector<uint8_t> message = BuildNetworkSettings(unitNumber, modelCode, ip, mask, dhcp);
    socket.SendToList(message.data(), message.size(), socket.broadcastAddresses);
}
