#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "net/updateprotocol.h"

using testing::ElementsAre;
using testing::ElementsAreArray;

namespace {

// A discovery reply as a device sends it, written from the byte table.
std::vector<uint8_t> HandWrittenDiscoveryReply()
{
    std::vector<uint8_t> bytes(50, 0);
    const uint8_t header[] = {0x4D, 0x2D, 0x52, 0x00, 0x00, 0x11, 0x00, 0x00};
    std::copy(std::begin(header), std::end(header), bytes.begin());
    const char name[] = "Stage Left";
    std::copy(name, name + 10, bytes.begin() + 8);
    const uint8_t mac[] = {0x00, 0x50, 0xC2, 0x12, 0x34, 0x56};
    std::copy(std::begin(mac), std::end(mac), bytes.begin() + 26);
    bytes[32] = 0x01; // unit number 0x0102
    bytes[33] = 0x02;
    const uint8_t ipAndMask[] = {192, 168, 1, 77, 255, 255, 255, 0};
    std::copy(std::begin(ipAndMask), std::end(ipAndMask), bytes.begin() + 40);
    bytes[48] = 0x01; // model code 0x0108
    bytes[49] = 0x08;
    return bytes;
}

} // namespace

TEST(UpdateProtocol, DiscoveryRequestIsTheHeaderOnly)
{
    EXPECT_THAT(exUpdateProtocol::BuildDiscoveryRequest(),
                ElementsAre(0x4D, 0x2D, 0x52, 0x00, 0x00, 0x10, 0x00, 0x00));
}

TEST(UpdateProtocol, DiscoveryReplyFieldsAreReadByOffset)
{
    const std::vector<uint8_t> bytes = HandWrittenDiscoveryReply();
    exDiscoveryReply reply;
    ASSERT_TRUE(exUpdateProtocol::ParseDiscoveryReply(bytes.data(), bytes.size(), reply));
    EXPECT_EQ(reply.name, "Stage Left");
    EXPECT_THAT(reply.mac, ElementsAre(0x00, 0x50, 0xC2, 0x12, 0x34, 0x56));
    EXPECT_EQ(reply.unitNumber, 0x0102);
    EXPECT_EQ(reply.ip, 0xC0A8014Du);
    EXPECT_EQ(reply.mask, 0xFFFFFF00u);
    EXPECT_EQ(reply.modelCode, 0x0108);
}

TEST(UpdateProtocol, DiscoveryReplyNameStopsAtItsFieldEnd)
{
    std::vector<uint8_t> bytes = HandWrittenDiscoveryReply();
    std::fill(bytes.begin() + 8, bytes.begin() + 26, 'n'); // 18 bytes, no terminating zero
    exDiscoveryReply reply;
    ASSERT_TRUE(exUpdateProtocol::ParseDiscoveryReply(bytes.data(), bytes.size(), reply));
    EXPECT_EQ(reply.name, wxString(18, 'n'));
}

TEST(UpdateProtocol, MalformedDiscoveryRepliesAreDropped)
{
    struct Case {
        const char* what;
        size_t offset;
        uint8_t value;
    } corruptions[] = {{"wrong magic", 1, 'X'},
                       {"bytes 6..7 not zero", 7, 0x01},
                       {"byte 6 not zero", 6, 0x80},
                       {"request code instead of reply", 5, 0x10},
                       {"network settings code", 5, 0x88}};
    for (const Case& c : corruptions) {
        std::vector<uint8_t> bytes = HandWrittenDiscoveryReply();
        bytes[c.offset] = c.value;
        exDiscoveryReply reply;
        reply.unitNumber = 0xBEEF;
        EXPECT_FALSE(exUpdateProtocol::ParseDiscoveryReply(bytes.data(), bytes.size(), reply))
            << c.what;
        EXPECT_EQ(reply.unitNumber, 0xBEEF) << c.what;
    }
    const std::vector<uint8_t> bytes = HandWrittenDiscoveryReply();
    for (size_t length : {size_t(0), size_t(8), size_t(49)}) {
        exDiscoveryReply reply;
        EXPECT_FALSE(exUpdateProtocol::ParseDiscoveryReply(bytes.data(), length, reply))
            << "length " << length;
    }
}

TEST(UpdateProtocol, NetworkSettingsCarryAddressAndMaskLastOctetFirst)
{
    std::vector<uint8_t> expected(282, 0);
    const uint8_t head[] = {
        0x4D, 0x2D, 0x52, 0x00, // magic
        0x00, 0x88, 0x00, 0x00, // code, reserved
        0x00, 0x07,             // unit number
        0x01, 0x08,             // model code
        0x00, 0x00,             // 0
        0x14, 0x01, 0xA8, 0xC0, // 192.168.1.20, last octet first
        0x00, 0xFF, 0xFF, 0xFF, // 255.255.255.0, last octet first
    };
    std::copy(std::begin(head), std::end(head), expected.begin());
    EXPECT_THAT(exUpdateProtocol::BuildNetworkSettings(7, 0x0108, 0xC0A80114, 0xFFFFFF00, false),
                ElementsAreArray(expected));

    std::fill(expected.begin() + 14, expected.begin() + 22, 0);
    EXPECT_THAT(exUpdateProtocol::BuildNetworkSettings(7, 0x0108, 0xC0A80114, 0xFFFFFF00, true),
                ElementsAreArray(expected));
}
