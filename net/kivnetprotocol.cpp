#include "net/kivnetprotocol.h"

#include <algorithm>

#include "net/kivnetsocket.h"
#include "net/wirereader.h"
#include "net/wirewriter.h"

namespace {

constexpr size_t kMagicOffset = 0;
constexpr size_t kVersionOffset = 4;
constexpr size_t kCodeOffset = 6;

// Device settings message and reply.
constexpr size_t kNameOffset = 8;
constexpr size_t kLockOffset = 34;
constexpr size_t kDisplayTimeoutOffset = 35;
constexpr size_t kDisplayLine2Offset = 36;
constexpr size_t kDisplayLine2Width = 58;
constexpr size_t kOptionAOffset = 94;
constexpr size_t kOptionBOffset = 95;

// Port messages.
constexpr size_t kWirePortOffset = 8;
constexpr size_t kModeOffset = 9;
constexpr size_t kActiveOffset = 10;
constexpr size_t kFormOffset = 11;
constexpr size_t kUniverseCodeOffset = 12;
constexpr size_t kInputMarkOffset = 14;
constexpr size_t kInputPortValueOffset = 18;
constexpr size_t kOutputPortValueOffset = 160;
constexpr uint8_t kModeDisabled = 0;
constexpr uint8_t kModeInput = 1;
constexpr uint8_t kModeOutput = 2;
constexpr uint8_t kInputMark = 100;

// Identify.
constexpr size_t kIdentifyTargetOffset = 8;
constexpr size_t kIdentifyNameOffset = 8;
constexpr size_t kIdentifyNameWidth = 33;
constexpr size_t kIdentifyBcdOffset = 41;
constexpr size_t kIdentifyHundredsOffset = 42;
constexpr size_t kIdentifyPortCountOffset = 43;

// Switch settings.
constexpr size_t kSwitchNameReadWidth = 18;
constexpr size_t kSwitchLockOffset = 26;
constexpr size_t kSwitchRecordCountOffset = 27;
constexpr size_t kSwitchDisplayTimeoutOffset = 28;
constexpr size_t kSwitchWordOffset = 30;
constexpr size_t kSwitchLine2Offset = 32;
constexpr size_t kSwitchLine2Width = 34;
constexpr size_t kSwitchByteBOffset = 64;
constexpr size_t kSwitchByteAOffset = 65;
constexpr size_t kSwitchRecordsOffset = 66;
constexpr size_t kRecordModeOffset = 0;
constexpr size_t kRecordSpeedOffset = 1;
constexpr size_t kRecordValueOffset = 2;
constexpr size_t kModuleTableOffset = 1346;

WireWriter StartMessage(size_t length, uint8_t code)
{
    WireWriter writer(length);
    writer.WriteU32Be(kMagicOffset, bxKivnetSocket::kMagic);
    writer.WriteU16Be(kVersionOffset, bxKivnetSocket::kVersion);
    writer.WriteU16Be(kCodeOffset, code);
    return writer;
}

size_t SwitchRecordStride(exSwitchForm form)
{
    return form == exSwitchForm::Small ? 16 : 8;
}

} // namespace

bool exKivnetProtocol::ReadHeader(const uint8_t* data, size_t length, exKivnetHeader& header)
{
    const WireReader reader(data, length);
    if (length < kHeaderLength)
        return false;
    if (reader.ReadU32Be(kMagicOffset) != bxKivnetSocket::kMagic ||
        reader.ReadU16Be(kVersionOffset) != bxKivnetSocket::kVersion)
        return false;
    const uint16_t code = reader.ReadU16Be(kCodeOffset);
    if (code == 0)
        return false;
    header.code = code;
    header.command = uint8_t(code & 0xFF);
    header.isReply = (code >> 8) == kReplyFlag;
    return true;
}

std::vector<uint8_t> exKivnetProtocol::BuildHeaderOnly(uint8_t code)
{
    return StartMessage(kHeaderLength, code).Take();
}

std::vector<uint8_t> exKivnetProtocol::BuildLargeIdentifyRequest()
{
    WireWriter writer = StartMessage(kLargeIdentifyLength, kIdentify);
    writer.WriteU16Be(kIdentifyTargetOffset, 0xFFFF);
    return writer.Take();
}

std::vector<uint8_t> exKivnetProtocol::BuildPortSettingsRequest(uint8_t wirePort)
{
    WireWriter writer = StartMessage(kPortSettingsRequestLength, kPortSettingsRequest);
    writer.WriteU8(kWirePortOffset, wirePort);
    return writer.Take();
}

std::vector<uint8_t> exKivnetProtocol::BuildDeviceSettings(const exDeviceSettings& settings)
{
    WireWriter writer = StartMessage(kDeviceSettingsLength, kDeviceSettings);
    writer.WriteText(kNameOffset, kNameWidth, settings.name);
    writer.WriteU8(kLockOffset, settings.locked ? kLocked : kUnlocked);
    writer.WriteU8(kDisplayTimeoutOffset, settings.displayTimeout);
    writer.WriteU8(kOptionAOffset, settings.optionA);
    writer.WriteU8(kOptionBOffset, settings.optionB);
    return writer.Take();
}

std::vector<uint8_t> exKivnetProtocol::BuildPortProgramming(const exPortSettings& port)
{
    const bool input = port.mode == kModeInput;
    WireWriter writer =
        StartMessage(input ? kPortInputFormLength : kPortOutputFormLength, kPortProgramming);
    writer.WriteU8(kWirePortOffset, port.wirePort);
    writer.WriteU8(kModeOffset, port.mode);
    writer.WriteU8(kActiveOffset, port.mode != kModeDisabled ? 1 : 0);
    writer.WriteU8(kFormOffset, input ? 1 : 2);
    writer.WriteU16Be(kUniverseCodeOffset, port.universeCode);
    if (input) {
        writer.WriteU8(kInputMarkOffset, kInputMark);
        writer.WriteU32Be(kInputPortValueOffset, port.portValue);
    } else {
        writer.WriteU32Be(kOutputPortValueOffset, port.portValue);
    }
    return writer.Take();
}

std::vector<uint8_t> exKivnetProtocol::BuildSwitchSettings(exSwitchForm form,
                                                           const exSwitchSettings& settings)
{
    WireWriter writer = StartMessage(SwitchSettingsLength(form), kSwitchSettings);
    writer.WriteText(kNameOffset, kNameWidth, settings.name);
    writer.WriteU8(kSwitchLockOffset, settings.locked ? kLocked : kUnlocked);
    writer.WriteU8(kSwitchRecordCountOffset, settings.recordCount);
    writer.WriteU16Le(kSwitchDisplayTimeoutOffset, settings.displayTimeout);
    if (form == exSwitchForm::Small) {
        writer.WriteU16Le(kSwitchWordOffset, settings.switchWord);
    } else {
        writer.WriteU16Be(kSwitchWordOffset, settings.switchWord);
        writer.WriteU8(kSwitchByteBOffset, settings.switchByteB);
        writer.WriteU8(kSwitchByteAOffset, settings.switchByteA);
    }
    const size_t stride = SwitchRecordStride(form);
    for (const exSwitchPortRecord& port : settings.ports) {
        if (port.index < 0 || size_t(port.index) >= SwitchRecordCapacity(form))
            continue;
        const size_t record = kSwitchRecordsOffset + stride * port.index;
        writer.WriteU8(record + kRecordModeOffset, port.mode);
        writer.WriteU8(record + kRecordSpeedOffset, port.speed);
        writer.WriteU16Le(record + kRecordValueOffset, port.value);
    }
    return writer.Take();
}

bool exKivnetProtocol::ParseDeviceSettingsReply(const uint8_t* data, size_t length,
                                                exDeviceSettingsReply& reply)
{
    if (length < kDeviceSettingsReplyMinLength)
        return false;
    const WireReader reader(data, length);
    reply.lock = reader.ReadU8(kLockOffset);
    reply.displayTimeout = reader.ReadU8(kDisplayTimeoutOffset);
    reply.displayLine2 = reader.ReadText(kDisplayLine2Offset, kDisplayLine2Width);
    reply.optionA = reader.ReadU8(kOptionAOffset);
    reply.optionB = reader.ReadU8(kOptionBOffset);
    return true;
}

bool exKivnetProtocol::ParsePortSettingsReply(const uint8_t* data, size_t length,
                                              exPortSettings& reply)
{
    const WireReader reader(data, length);
    if (length < kModeOffset + 1)
        return false;
    const uint8_t mode = reader.ReadU8(kModeOffset);
    size_t needed;
    switch (mode) {
    case kModeDisabled:
        needed = kModeOffset + 1;
        break;
    case kModeInput:
        needed = kInputPortValueOffset + 4;
        break;
    case kModeOutput:
        needed = kOutputPortValueOffset + 4;
        break;
    default:
        return false;
    }
    if (length < needed)
        return false;
    reply.wirePort = reader.ReadU8(kWirePortOffset);
    reply.mode = mode;
    reply.universeCode = 0;
    reply.portValue = 0;
    if (mode != kModeDisabled) {
        reply.universeCode = reader.ReadU16Be(kUniverseCodeOffset);
        reply.portValue =
            reader.ReadU32Be(mode == kModeInput ? kInputPortValueOffset : kOutputPortValueOffset);
    }
    return true;
}

bool exKivnetProtocol::ParseIdentifyReply(const uint8_t* data, size_t length,
                                          exIdentifyReply& reply)
{
    if (length < kIdentifyReplyMinLength)
        return false;
    const WireReader reader(data, length);
    reply.name = reader.ReadText(kIdentifyNameOffset, kIdentifyNameWidth);
    const uint8_t bcd = reader.ReadU8(kIdentifyBcdOffset);
    reply.id = 100 * reader.ReadU8(kIdentifyHundredsOffset) + 10 * (bcd >> 4) + (bcd & 0x0F);
    reply.hasPortCount = reader.Has(kIdentifyPortCountOffset, 1);
    reply.portCount = reply.hasPortCount ? reader.ReadU8(kIdentifyPortCountOffset) : 0;
    return true;
}

bool exKivnetProtocol::ParseSwitchSettingsReply(exSwitchForm form, const uint8_t* data,
                                                size_t length, exSwitchSettings& settings)
{
    if (length < SwitchSettingsLength(form))
        return false;
    const WireReader reader(data, length);
    settings.name = reader.ReadText(kNameOffset, kSwitchNameReadWidth);
    settings.locked = reader.ReadU8(kSwitchLockOffset) == kLocked;
    settings.recordCount = reader.ReadU8(kSwitchRecordCountOffset);
    settings.displayTimeout = reader.ReadU16Le(kSwitchDisplayTimeoutOffset);
    settings.displayLine2 = reader.ReadText(kSwitchLine2Offset, kSwitchLine2Width);
    if (form == exSwitchForm::Small) {
        settings.switchWord = reader.ReadU16Le(kSwitchWordOffset);
    } else {
        settings.switchWord = reader.ReadU16Be(kSwitchWordOffset);
        settings.switchByteB = reader.ReadU8(kSwitchByteBOffset);
        settings.switchByteA = reader.ReadU8(kSwitchByteAOffset);
    }

    const size_t stride = SwitchRecordStride(form);
    const size_t records = std::min<size_t>(settings.recordCount, SwitchRecordCapacity(form));
    settings.ports.clear();
    for (size_t i = 0; i < records; ++i) {
        const size_t record = kSwitchRecordsOffset + stride * i;
        exSwitchPortRecord port;
        port.index = int(i);
        port.mode = reader.ReadU8(record + kRecordModeOffset);
        port.speed = reader.ReadU8(record + kRecordSpeedOffset);
        port.value = reader.ReadU16Le(record + kRecordValueOffset);
        settings.ports.push_back(port);
    }

    settings.modules.fill(0);
    if (form == exSwitchForm::Large) {
        for (int slot = 1; slot <= kModuleSlots; ++slot) {
            const uint8_t pair = reader.ReadU8(kModuleTableOffset + (slot - 1) / 2);
            settings.modules[slot] = ((slot - 1) % 2 == 0) ? (pair & 0x0F) : (pair >> 4);
        }
    }
    return true;
}

size_t exKivnetProtocol::SwitchSettingsLength(exSwitchForm form)
{
    return form == exSwitchForm::Small ? kSmallSwitchSettingsLength : kLargeSwitchSettingsLength;
}

size_t exKivnetProtocol::SwitchRecordCapacity(exSwitchForm form)
{
    return (SwitchSettingsLength(form) - kSwitchRecordsOffset -
            (form == exSwitchForm::Large ? 8 : 0)) /
           SwitchRecordStride(form);
}
