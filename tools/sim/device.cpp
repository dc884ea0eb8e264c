#include "device.h"

#include <arpa/inet.h>

#include <algorithm>

#include "bytes.h"

namespace sim {

namespace {

// Update port (6464).
const uint8_t kUpdateMagic[4] = {0x4D, 0x2D, 0x52, 0x00};
constexpr size_t kUpdateHeaderSize = 8;
constexpr size_t kUpdateCodeOffset = 4;
constexpr uint16_t kDiscoveryRequest = 0x0010;
constexpr uint16_t kDiscoveryReply = 0x0011;
constexpr uint16_t kNetworkSettings = 0x0088;
constexpr size_t kDiscoveryReplySize = 50;
constexpr size_t kDiscoveryNameOffset = 8;
constexpr size_t kDiscoveryNameWidth = 18;
constexpr size_t kDiscoveryMacOffset = 26;
constexpr size_t kDiscoveryUnitOffset = 32;
constexpr size_t kDiscoveryIpOffset = 40;
constexpr size_t kDiscoveryMaskOffset = 44;
constexpr size_t kDiscoveryModelOffset = 48;
constexpr size_t kNetworkUnitOffset = 8;
constexpr size_t kNetworkModelOffset = 10;
constexpr size_t kNetworkIpOffset = 14;   // little-endian
constexpr size_t kNetworkMaskOffset = 18; // little-endian
constexpr size_t kNetworkSettingsMinSize = 22;

// Kivnet (6517).
const uint8_t kKivnetMagic[4] = {0x00, 0x36, 0x93, 0x16};
constexpr uint16_t kKivnetVersion = 0x0001;
constexpr size_t kKivnetVersionOffset = 4;
constexpr size_t kKivnetCodeOffset = 6;
constexpr size_t kKivnetHeaderSize = 8;
constexpr uint16_t kReplyFlag = 0x8000;
constexpr uint16_t kIdentifyRequest = 0x0010;
constexpr uint16_t kIdentifyReply = 0x0011;
constexpr uint16_t kDeviceSettings = 0x0020;
constexpr uint16_t kDeviceSettingsRequest = 0x0021;
constexpr uint16_t kPortProgramming = 0x0030;
constexpr uint16_t kPortSettingsRequest = 0x0031;
constexpr uint16_t kSwitchSettings = 0x0040;
constexpr uint16_t kSwitchSettingsRequest = 0x0041;

constexpr size_t kDeviceSettingsSize = 222;
constexpr size_t kDeviceNameOffset = 8;
constexpr size_t kDeviceNameWidth = 17;
constexpr size_t kLockOffset = 34; // 1 unlocked, 2 locked
constexpr size_t kDisplayTimeoutOffset = 35;
constexpr size_t kLine2Offset = 36;
constexpr size_t kLine2Width = 58;
constexpr size_t kOptionAOffset = 94;
constexpr size_t kOptionBOffset = 95;

constexpr size_t kPortNumberOffset = 8;
constexpr size_t kPortModeOffset = 9;
constexpr size_t kPortUniverseOffset = 12;
constexpr size_t kInputValueOffset = 18;
constexpr size_t kOutputValueOffset = 160;
constexpr size_t kInputFormSize = 22;
constexpr size_t kOutputFormSize = 164;
constexpr size_t kPortRequestMinSize = 9;
constexpr uint8_t kRefusedPortMode = 3; // 0 disabled, 1 input and 2 output are the only modes

constexpr size_t kIdentifyReplySize = 44;
constexpr size_t kIdentifyNameOffset = 8;
constexpr size_t kIdentifyNameWidth = 32; // of a 33-byte field, so a zero always ends it
constexpr size_t kIdentifyIdOffset = 41;  // BCD tens/units, then the hundreds
constexpr size_t kIdentifyPortCountOffset = 43;

constexpr size_t kSwitchNameOffset = 8;
constexpr size_t kSwitchNameWidth = 17;
constexpr size_t kSwitchLockOffset = 26;
constexpr size_t kSwitchRecordCountOffset = 27;
constexpr size_t kSwitchTimeoutOffset = 28; // little-endian
constexpr size_t kSwitchWordOffset = 30;    // little-endian, big-endian on the SwitchKappa
constexpr size_t kSwitchTextOffset = 32;
constexpr size_t kSwitchByteBOffset = 64;
constexpr size_t kSwitchByteAOffset = 65;
constexpr size_t kSwitchRecordsOffset = 66;
constexpr size_t kSwitchSmallSize = 450;  // 24 records of 16 bytes
constexpr size_t kSwitchLargeSize = 1354; // 160 records of 8 bytes, then the bay table
constexpr size_t kSmallRecordStride = 16;
constexpr size_t kLargeRecordStride = 8;
constexpr size_t kRecordModeOffset = 0;
constexpr size_t kRecordSpeedOffset = 1;
constexpr size_t kRecordValueOffset = 2; // little-endian
constexpr size_t kBayTableOffset = 1346;

// Art-Net (6454).
const uint8_t kArtNetId[8] = {'A', 'r', 't', '-', 'N', 'e', 't', 0};
constexpr size_t kArtOpCodeOffset = 8; // little-endian
constexpr uint16_t kOpPoll = 0x2000;
constexpr uint16_t kOpPollReply = 0x2100;
constexpr size_t kArtPollMinSize = 12;
constexpr size_t kPollReplySize = 239;
constexpr size_t kReplyIpOffset = 10;
constexpr size_t kReplyPortOffset = 14; // little-endian
constexpr size_t kReplyVersionOffset = 16;
constexpr size_t kReplyOemOffset = 20;
constexpr size_t kReplyStatus1Offset = 23;
constexpr size_t kReplyShortNameOffset = 26;
constexpr size_t kShortNameWidth = 17;
constexpr size_t kReplyLongNameOffset = 44;
constexpr size_t kLongNameWidth = 63;
constexpr size_t kReplyNodeReportOffset = 108;
constexpr size_t kReplyNumPortsOffset = 172;
constexpr size_t kReplyPortTypesOffset = 174;
constexpr size_t kReplyGoodInputOffset = 178;
constexpr size_t kReplyGoodOutputOffset = 182;
constexpr size_t kReplySwInOffset = 186;
constexpr size_t kReplySwOutOffset = 190;
constexpr size_t kReplyMacOffset = 201;
constexpr size_t kReplyBindIpOffset = 207;
constexpr size_t kReplyBindIndexOffset = 211;
constexpr size_t kReplyStatus2Offset = 212;

const std::vector<ModelInfo> kModels = {
    {0x0103, "NodeBeta", Family::Node, 3, 0, 0},
    {0x0106, "NodeGamma", Family::Node, 6, 0, 0},
    {0x0107, "Sprite", Family::Node, 2, 0, 0},
    {0x0108, "NodeDelta", Family::Node, 10, 0, 0},
    {0x0109, "NodeEpsilon", Family::Node, 8, 0, 0},
    {0x010A, "NodeZeta", Family::Node, 8, 0, 0},
    {0x0111, "NodeAlpha", Family::Node, 1, 1, 0},
    {0x0203, "StoreEta", Family::Node, 4, 0, 0},
    {0x0318, "SwitchTheta", Family::SwitchTheta, 0, 0, 8},
    {0x0319, "SwitchKappa", Family::SwitchKappa, 0, 0, 10},
    {0x2024, "SwitchKappa", Family::SwitchKappa, 0, 0, 18},
    {0x300E, "SwitchIota", Family::SwitchIota, 0, 0, 8},
};

void KivnetHeader(ByteWriter& writer, uint16_t code)
{
    writer.Bytes(0, kKivnetMagic, 4);
    writer.U16Be(kKivnetVersionOffset, kKivnetVersion);
    writer.U16Be(kKivnetCodeOffset, code);
}

bool IsKivnet(const ByteReader& reader)
{
    if (!reader.Has(0, kKivnetHeaderSize))
        return false;
    for (size_t i = 0; i < 4; ++i)
        if (reader.U8(i) != kKivnetMagic[i])
            return false;
    return reader.U16Be(kKivnetVersionOffset) == kKivnetVersion;
}

uint8_t Bcd(int value)
{
    return uint8_t((value / 10 % 10) << 4 | value % 10);
}

// ---- Update port ----

Outcome HandleUpdate(Device& device, const ByteReader& reader)
{
    Outcome outcome;
    if (!reader.Has(0, kUpdateHeaderSize))
        return outcome;
    for (size_t i = 0; i < 4; ++i)
        if (reader.U8(i) != kUpdateMagic[i])
            return outcome;
    const uint16_t code = reader.U16Be(kUpdateCodeOffset);
    if (code == kDiscoveryRequest) {
        outcome.answers.push_back(BuildDiscoveryReply(device));
        outcome.request = Request::Discovery;
    } else if (code == kNetworkSettings && reader.Has(0, kNetworkSettingsMinSize)) {
        if (reader.U16Be(kNetworkUnitOffset) != device.unit ||
            reader.U16Be(kNetworkModelOffset) != device.modelCode)
            return outcome;
        const uint32_t ip = reader.U32Le(kNetworkIpOffset);
        const uint32_t mask = reader.U32Le(kNetworkMaskOffset);
        if (ip == 0) {
            // DHCP: the device keeps the address it has until a server gives it another.
            device.dhcp = true;
        } else {
            device.dhcp = false;
            outcome.addressChanged = ip != device.ip;
            device.ip = ip;
            device.mask = mask;
        }
    }
    return outcome;
}

// ---- Kivnet ----

void ApplyDeviceSettings(Device& device, const ByteReader& reader)
{
    if (!reader.Has(0, kOptionBOffset + 1))
        return;
    device.name = reader.Text(kDeviceNameOffset, kDeviceNameWidth);
    const uint8_t lock = reader.U8(kLockOffset);
    if (lock != 0)
        device.locked = lock != 1;
    device.displayTimeout = reader.U8(kDisplayTimeoutOffset);
    device.optionA = reader.U8(kOptionAOffset);
    device.optionB = reader.U8(kOptionBOffset);
}

void ApplyPortProgramming(Device& device, const ByteReader& reader)
{
    if (!reader.Has(0, kPortModeOffset + 1))
        return;
    const uint8_t mode = reader.U8(kPortModeOffset);
    if (mode > kOutput)
        return;
    const size_t needed = mode == kInput ? kInputFormSize : kOutputFormSize;
    if (!reader.Has(0, needed))
        return;
    DmxPort* port = device.PortByWireNumber(reader.U8(kPortNumberOffset));
    if (!port)
        return;
    port->mode = mode;
    port->universe = reader.U16Be(kPortUniverseOffset);
    port->value = reader.U32Be(mode == kInput ? kInputValueOffset : kOutputValueOffset);
}

void ApplySwitchSettings(Device& device, const ByteReader& reader)
{
    const bool kappa = device.IsKappa();
    const size_t stride = kappa ? kLargeRecordStride : kSmallRecordStride;
    const size_t maxRecords =
        ((kappa ? kBayTableOffset : kSwitchSmallSize) - kSwitchRecordsOffset) / stride;
    if (!reader.Has(0, kSwitchRecordsOffset))
        return;
    size_t records =
        std::min<size_t>(reader.U8(kSwitchRecordCountOffset), device.switchPorts.size());
    records = std::min(records, maxRecords);
    if (!reader.Has(0, kSwitchRecordsOffset + stride * records))
        return;
    device.name = reader.Text(kSwitchNameOffset, kSwitchNameWidth);
    device.locked = reader.U8(kSwitchLockOffset) == 2;
    device.displayTimeout = uint8_t(reader.U16Le(kSwitchTimeoutOffset));
    device.switchWord = kappa ? reader.U16Be(kSwitchWordOffset) : reader.U16Le(kSwitchWordOffset);
    if (kappa) {
        device.switchByteB = reader.U8(kSwitchByteBOffset);
        device.switchByteA = reader.U8(kSwitchByteAOffset);
    }
    for (size_t i = 0; i < records; ++i) {
        const size_t record = kSwitchRecordsOffset + stride * i;
        SwitchPort& port = device.switchPorts[i];
        port.mode = reader.U8(record + kRecordModeOffset);
        port.speed = reader.U8(record + kRecordSpeedOffset);
        port.value = reader.U16Le(record + kRecordValueOffset);
    }
}

Outcome HandleKivnet(Device& device, const ByteReader& reader)
{
    Outcome outcome;
    if (!IsKivnet(reader))
        return outcome;
    const uint16_t code = reader.U16Be(kKivnetCodeOffset);
    const bool dmxPorts = !device.IsSwitch() || device.IsKappa();
    switch (code) {
    case kDeviceSettingsRequest:
        if (!device.IsSwitch()) {
            outcome.answers.push_back(BuildDeviceSettingsReply(device));
            outcome.request = Request::DeviceSettings;
        }
        break;
    case kDeviceSettings:
        if (!device.IsSwitch())
            ApplyDeviceSettings(device, reader);
        break;
    case kPortSettingsRequest:
        if (dmxPorts && reader.Has(0, kPortRequestMinSize)) {
            const int number = reader.U8(kPortNumberOffset);
            if (const DmxPort* port = device.PortByWireNumber(number)) {
                outcome.answers.push_back(BuildPortSettingsReply(device, number, *port));
                outcome.request = Request::PortSettings;
            }
        }
        break;
    case kPortProgramming:
        if (dmxPorts)
            ApplyPortProgramming(device, reader);
        break;
    case kIdentifyRequest:
        if (device.IsSwitch()) {
            outcome.answers.push_back(BuildIdentifyReply(device));
            outcome.request = Request::Identify;
        }
        break;
    case kSwitchSettingsRequest:
        if (device.IsSwitch()) {
            outcome.answers.push_back(BuildSwitchSettingsReply(device));
            outcome.request = Request::SwitchSettings;
        }
        break;
    case kSwitchSettings:
        if (device.IsSwitch())
            ApplySwitchSettings(device, reader);
        break;
    default:
        break; // answers of other devices (high byte 0x80) and unknown codes
    }
    return outcome;
}

// The length that carries every field an answer of this kind always has; one byte less leaves
// a reader with a field it cannot take. The SwitchKappa's port count after the identify reply's
// ID is an extra that readers take only when it is there.
size_t RequiredLength(const ByteReader& answer)
{
    switch (answer.U16Be(kKivnetCodeOffset) & ~kReplyFlag) {
    case kDeviceSettingsRequest:
        return kOptionBOffset + 1;
    case kPortSettingsRequest:
        switch (answer.U8(kPortModeOffset)) {
        case kDisabled:
            return kPortModeOffset + 1;
        case kInput:
            return kInputFormSize;
        default:
            return kOutputFormSize;
        }
    case kIdentifyReply:
        return kIdentifyIdOffset + 2;
    default:
        return answer.Length();
    }
}

Outcome SpoilIfDue(Device& device, Outcome outcome)
{
    if (device.spoilNext != Spoil::None && !outcome.answers.empty()) {
        SpoilAnswer(outcome.answers.front(), device.spoilNext);
        device.spoilNext = Spoil::None;
    }
    return outcome;
}

// ---- Art-Net ----

Outcome HandleArtNet(Device& device, const ByteReader& reader)
{
    Outcome outcome;
    if (!device.answersArtNet || !reader.Has(0, kArtPollMinSize))
        return outcome;
    for (size_t i = 0; i < 8; ++i)
        if (reader.U8(i) != kArtNetId[i])
            return outcome;
    if (reader.U16Le(kArtOpCodeOffset) == kOpPoll) {
        outcome.answers.push_back(BuildArtPollReply(device));
        outcome.request = Request::ArtPoll;
    }
    return outcome;
}

} // namespace

uint16_t PortOf(Service service)
{
    switch (service) {
    case kUpdate:
        return kUpdatePort;
    case kKivnet:
        return kKivnetPort;
    default:
        return kArtNetPort;
    }
}

const std::vector<ModelInfo>& AllModels()
{
    return kModels;
}

const ModelInfo* FindModel(uint16_t code)
{
    for (const ModelInfo& model : kModels)
        if (model.code == code)
            return &model;
    return nullptr;
}

DmxPort* Device::PortByWireNumber(int number)
{
    if (IsKappa()) {
        const int bay = number / 16;
        const size_t index = size_t(number % 16);
        if (bay < 1 || bay > kBayCount || index >= bays[size_t(bay)].size())
            return nullptr;
        return &bays[size_t(bay)][index];
    }
    const int index = number - model->portBase;
    if (index < 0 || size_t(index) >= ports.size())
        return nullptr;
    return &ports[size_t(index)];
}

std::string Device::ArtNetLongName() const
{
    if (!longName.empty())
        return longName;
    return std::string("Pylon ") + model->title + " ID: " + std::to_string(id);
}

Device MakeDevice(const ModelInfo& model, uint16_t modelCode)
{
    Device device;
    device.model = &model;
    device.modelCode = modelCode;
    device.ports.resize(size_t(model.dmxPorts));
    device.switchPorts.resize(size_t(model.switchPorts));
    device.answersArtNet = model.family == Family::Node;
    device.name = model.title;
    return device;
}

Outcome HandleDatagram(Device& device, Service service, const uint8_t* data, size_t length)
{
    const ByteReader reader(data, length);
    Outcome outcome;
    switch (service) {
    case kUpdate:
        outcome = HandleUpdate(device, reader);
        break;
    case kKivnet:
        outcome = HandleKivnet(device, reader);
        break;
    default:
        outcome = HandleArtNet(device, reader);
        break;
    }
    // Only requests it would answer count towards the ones a device ignores.
    if (outcome.request != Request::None && !outcome.answers.empty()) {
        int& left = device.ignoreFirst[size_t(outcome.request)];
        if (left > 0) {
            --left;
            outcome.answers.clear();
        }
    }
    return service == kKivnet ? SpoilIfDue(device, std::move(outcome)) : outcome;
}

std::vector<uint8_t> BuildDiscoveryReply(const Device& device)
{
    ByteWriter writer(kDiscoveryReplySize);
    writer.Bytes(0, kUpdateMagic, 4);
    writer.U16Be(kUpdateCodeOffset, kDiscoveryReply);
    writer.Text(kDiscoveryNameOffset, device.name, kDiscoveryNameWidth);
    writer.Bytes(kDiscoveryMacOffset, device.mac.data(), device.mac.size());
    writer.U16Be(kDiscoveryUnitOffset, device.unit);
    // A device on DHCP reports no address of its own; the program then uses the sender's.
    writer.U32Be(kDiscoveryIpOffset, device.dhcp ? 0 : device.ip);
    writer.U32Be(kDiscoveryMaskOffset, device.dhcp ? 0 : device.mask);
    writer.U16Be(kDiscoveryModelOffset, device.modelCode);
    return writer.Data();
}

std::vector<uint8_t> BuildDeviceSettingsReply(const Device& device)
{
    ByteWriter writer(kDeviceSettingsSize);
    KivnetHeader(writer, kReplyFlag | kDeviceSettingsRequest);
    writer.Text(kDeviceNameOffset, device.name, kDeviceNameWidth);
    writer.U8(kLockOffset, device.locked ? 2 : 1);
    writer.U8(kDisplayTimeoutOffset, device.displayTimeout);
    writer.Text(kLine2Offset, device.line2, kLine2Width - 1);
    writer.U8(kOptionAOffset, device.optionA);
    writer.U8(kOptionBOffset, device.optionB);
    return writer.Data();
}

std::vector<uint8_t> BuildPortSettingsReply(const Device&, int wireNumber, const DmxPort& port)
{
    ByteWriter writer(kOutputFormSize);
    KivnetHeader(writer, kReplyFlag | kPortSettingsRequest);
    writer.U8(kPortNumberOffset, uint8_t(wireNumber));
    writer.U8(kPortModeOffset, port.mode);
    if (port.mode == kInput || port.mode == kOutput)
        writer.U16Be(kPortUniverseOffset, port.universe);
    if (port.mode == kInput)
        writer.U32Be(kInputValueOffset, port.value);
    else if (port.mode == kOutput)
        writer.U32Be(kOutputValueOffset, port.value);
    return writer.Data();
}

std::vector<uint8_t> BuildIdentifyReply(const Device& device)
{
    ByteWriter writer(kIdentifyReplySize);
    KivnetHeader(writer, kReplyFlag | kIdentifyReply);
    writer.Text(kIdentifyNameOffset, device.name, kIdentifyNameWidth);
    writer.U8(kIdentifyIdOffset, Bcd(device.id % 100));
    writer.U8(kIdentifyIdOffset + 1, uint8_t(device.id / 100 % 128));
    if (device.IsKappa())
        writer.U8(kIdentifyPortCountOffset, uint8_t(device.switchPorts.size()));
    return writer.Data();
}

std::vector<uint8_t> BuildSwitchSettingsReply(const Device& device)
{
    const bool kappa = device.IsKappa();
    const size_t size = kappa ? kSwitchLargeSize : kSwitchSmallSize;
    const size_t stride = kappa ? kLargeRecordStride : kSmallRecordStride;
    const size_t maxRecords =
        ((kappa ? kBayTableOffset : kSwitchSmallSize) - kSwitchRecordsOffset) / stride;
    const size_t records = std::min(device.switchPorts.size(), maxRecords);
    ByteWriter writer(size);
    KivnetHeader(writer, kReplyFlag | kSwitchSettingsRequest);
    writer.Text(kSwitchNameOffset, device.name, kSwitchNameWidth);
    writer.U8(kSwitchLockOffset, device.locked ? 2 : 1);
    writer.U8(kSwitchRecordCountOffset, uint8_t(records));
    writer.U16Le(kSwitchTimeoutOffset, device.displayTimeout);
    if (kappa)
        writer.U16Be(kSwitchWordOffset, device.switchWord);
    else
        writer.U16Le(kSwitchWordOffset, device.switchWord);
    // The text must end in a zero before the SwitchKappa's switch bytes at 64.
    writer.Text(kSwitchTextOffset, device.line2,
                (kappa ? kSwitchByteBOffset : kSwitchRecordsOffset) - kSwitchTextOffset - 1);
    if (kappa) {
        writer.U8(kSwitchByteBOffset, device.switchByteB);
        writer.U8(kSwitchByteAOffset, device.switchByteA);
    }
    for (size_t i = 0; i < records; ++i) {
        const size_t record = kSwitchRecordsOffset + stride * i;
        writer.U8(record + kRecordModeOffset, device.switchPorts[i].mode);
        writer.U8(record + kRecordSpeedOffset, device.switchPorts[i].speed);
        writer.U16Le(record + kRecordValueOffset, device.switchPorts[i].value);
    }
    if (kappa) {
        // Bay k's port count is the k-th nibble, low nibble first.
        for (int bay = 1; bay <= kBayCount; ++bay) {
            const size_t offset = kBayTableOffset + size_t(bay - 1) / 2;
            const uint8_t count = uint8_t(std::min<size_t>(device.bays[size_t(bay)].size(), 15));
            const uint8_t old = writer.Data()[offset];
            writer.U8(offset, (bay - 1) % 2 == 0 ? uint8_t((old & 0xF0) | count)
                                                 : uint8_t((old & 0x0F) | count << 4));
        }
    }
    return writer.Data();
}

std::vector<uint8_t> BuildArtPollReply(const Device& device)
{
    ByteWriter writer(kPollReplySize);
    writer.Bytes(0, kArtNetId, 8);
    writer.U16Le(kArtOpCodeOffset, kOpPollReply);
    writer.U32Be(kReplyIpOffset, device.ip);
    writer.U16Le(kReplyPortOffset, kArtNetPort);
    writer.U16Be(kReplyVersionOffset, 0x0001);
    writer.U16Be(kReplyOemOffset, 0x00FF); // no registered OEM code
    writer.U8(kReplyStatus1Offset, 0xD0);  // indicators normal, configured from the network
    writer.Text(kReplyShortNameOffset, device.name, kShortNameWidth);
    writer.Text(kReplyLongNameOffset, device.ArtNetLongName(), kLongNameWidth);
    writer.Text(kReplyNodeReportOffset, "#0001 [0000] Power On Tests successful", 63);
    const size_t shown = std::min<size_t>(device.ports.size(), 4);
    writer.U16Be(kReplyNumPortsOffset, uint16_t(shown));
    for (size_t i = 0; i < shown; ++i) {
        const DmxPort& port = device.ports[i];
        writer.U8(kReplyPortTypesOffset + i, port.mode == kInput    ? 0x40
                                             : port.mode == kOutput ? 0x80
                                                                    : 0x00);
        writer.U8(kReplyGoodInputOffset + i, port.mode == kInput ? 0x80 : 0x00);
        writer.U8(kReplyGoodOutputOffset + i, port.mode == kOutput ? 0x80 : 0x00);
        writer.U8(kReplySwInOffset + i, uint8_t(port.universe & 0x0F));
        writer.U8(kReplySwOutOffset + i, uint8_t(port.universe & 0x0F));
    }
    writer.Bytes(kReplyMacOffset, device.mac.data(), device.mac.size());
    writer.U32Be(kReplyBindIpOffset, device.ip);
    writer.U8(kReplyBindIndexOffset, 1);
    writer.U8(kReplyStatus2Offset, 0x08); // 15-bit port addresses
    return writer.Data();
}

bool ParseSpoil(const std::string& text, Spoil& spoil)
{
    if (text == "none")
        spoil = Spoil::None;
    else if (text == "short")
        spoil = Spoil::Short;
    else if (text == "mode")
        spoil = Spoil::Mode;
    else
        return false;
    return true;
}

void SpoilAnswer(std::vector<uint8_t>& answer, Spoil how)
{
    const ByteReader reader(answer.data(), answer.size());
    const bool portReply = reader.U16Be(kKivnetCodeOffset) == (kReplyFlag | kPortSettingsRequest);
    if (how == Spoil::Mode && portReply)
        answer[kPortModeOffset] = kRefusedPortMode;
    else if (how != Spoil::None)
        answer.resize(std::min(answer.size(), RequiredLength(reader)) - 1);
}

namespace {

const char* const kRequestNames[kRequestKinds] = {
    "discovery", "deviceSettings", "portSettings", "identify", "switchSettings", "artPoll",
};

} // namespace

bool ParseRequest(const std::string& text, Request& request)
{
    for (size_t i = 0; i < kRequestKinds; ++i)
        if (text == kRequestNames[i]) {
            request = Request(i);
            return true;
        }
    return false;
}

bool ParsePortMode(const std::string& text, int& mode)
{
    if (text == "disabled" || text == "0")
        mode = kDisabled;
    else if (text == "input" || text == "1")
        mode = kInput;
    else if (text == "output" || text == "2")
        mode = kOutput;
    else
        return false;
    return true;
}

bool ApplyPanelChange(Device& device, const PanelChange& change, std::string& error)
{
    if (change.rename && change.name.empty()) {
        error = "a name has at least one character";
        return false;
    }
    DmxPort* port = nullptr;
    if (change.dmxPort >= 0) {
        port = device.PortByWireNumber(change.dmxPort);
        if (!port) {
            error = "no DMX port " + std::to_string(change.dmxPort);
            return false;
        }
        if (change.mode > kOutput || change.universe > 0xFFFF) {
            error = "modes are disabled, input and output, universe codes 0 to 0xFFFF";
            return false;
        }
    }
    if (change.switchPort != 0) {
        if (change.switchPort < 0 || size_t(change.switchPort) > device.switchPorts.size()) {
            error = "no switch port " + std::to_string(change.switchPort);
            return false;
        }
        if (change.speed < 0 || change.speed > 3) {
            error = "switch port speeds are 0 to 3";
            return false;
        }
    }
    if (change.rename)
        device.name = change.name;
    if (port && change.mode >= 0)
        port->mode = uint8_t(change.mode);
    if (port && change.universe >= 0)
        port->universe = uint16_t(change.universe);
    if (change.switchPort != 0)
        device.switchPorts[size_t(change.switchPort - 1)].speed = uint8_t(change.speed);
    return true;
}

std::string AddressText(uint32_t address)
{
    return std::to_string(address >> 24) + "." + std::to_string(address >> 16 & 0xFF) + "." +
           std::to_string(address >> 8 & 0xFF) + "." + std::to_string(address & 0xFF);
}

bool ParseAddress(const std::string& text, uint32_t& address)
{
    in_addr parsed{};
    if (inet_pton(AF_INET, text.c_str(), &parsed) != 1)
        return false;
    address = ntohl(parsed.s_addr);
    return true;
}

} // namespace sim
