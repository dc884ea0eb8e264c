#include <cstdio>
#include <fstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "net/artnetprotocol.h"

using testing::ElementsAre;

namespace {

std::vector<uint8_t> PollReply(const std::string& longName, uint16_t opCode = 0x2100)
{
    std::vector<uint8_t> bytes(239, 0);
    const char id[] = "Art-Net";
    std::copy(id, id + 8, bytes.begin());
    bytes[8] = uint8_t(opCode); // OpCode, little-endian
    bytes[9] = uint8_t(opCode >> 8);
    std::copy(longName.begin(), longName.end(), bytes.begin() + 44);
    return bytes;
}

void AppendLe16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void AppendLe32(std::vector<uint8_t>& out, uint32_t v)
{
    AppendLe16(out, uint16_t(v));
    AppendLe16(out, uint16_t(v >> 16));
}

void AppendBe16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

// A classic pcap file holding one Ethernet/IPv4/UDP frame with `payload` to port 6454.
std::vector<uint8_t> PcapWithUdpPayload(const std::vector<uint8_t>& payload)
{
    std::vector<uint8_t> ip = {0x45, 0x00};
    AppendBe16(ip, uint16_t(20 + 8 + payload.size()));
    const uint8_t rest[] = {0x00, 0x00, 0x40, 0x00, 0x40, 0x11, 0x00, 0x00,
                            10, 201, 0, 1, 10, 201, 0, 255};
    ip.insert(ip.end(), std::begin(rest), std::end(rest));
    uint32_t sum = 0;
    for (size_t i = 0; i < ip.size(); i += 2)
        sum += (ip[i] << 8) | ip[i + 1];
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    ip[10] = uint8_t(~sum >> 8);
    ip[11] = uint8_t(~sum);
    std::vector<uint8_t> frame = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                  0x02, 0x00, 0x00, 0x00, 0x00, 0x01, 0x08, 0x00};
    frame.insert(frame.end(), ip.begin(), ip.end());
    AppendBe16(frame, 6454);
    AppendBe16(frame, 6454);
    AppendBe16(frame, uint16_t(8 + payload.size()));
    AppendBe16(frame, 0); // no UDP checksum
    frame.insert(frame.end(), payload.begin(), payload.end());

    std::vector<uint8_t> file;
    AppendLe32(file, 0xA1B2C3D4);
    AppendLe16(file, 2);
    AppendLe16(file, 4);
    AppendLe32(file, 0);
    AppendLe32(file, 0);
    AppendLe32(file, 65535);
    AppendLe32(file, 1); // Ethernet
    AppendLe32(file, 1700000000);
    AppendLe32(file, 0);
    AppendLe32(file, uint32_t(frame.size()));
    AppendLe32(file, uint32_t(frame.size()));
    file.insert(file.end(), frame.begin(), frame.end());
    return file;
}

std::string RunCommand(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char chunk[4096];
    size_t read;
    while ((read = fread(chunk, 1, sizeof(chunk), pipe)) > 0)
        output.append(chunk, read);
    pclose(pipe);
    return output;
}

} // namespace

TEST(ArtNetProtocol, PollIsFourteenBytesAsTheTableGivesThem)
{
    EXPECT_THAT(exArtNetProtocol::BuildPoll(),
                ElementsAre('A', 'r', 't', '-', 'N', 'e', 't', 0, // ID
                            0x00, 0x20,                          // OpPoll, little-endian
                            0x00, 0x0E,                          // protocol version 14
                            0x03,                                // TalkToMe
                            0x00));                              // DiagPriority
}

TEST(ArtNetProtocol, OutsideDissectorReadsOurPollAsArtPollVersion14)
{
    const std::string path = std::string(RIGWISE_TEST_DATA_DIR) + "/artpoll.pcap";
    const std::vector<uint8_t> file = PcapWithUdpPayload(exArtNetProtocol::BuildPoll());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                               file.size());
    const std::string decoded = RunCommand("tshark -r '" + path + "' -V -d udp.port==6454,artnet 2>&1");
    EXPECT_THAT(decoded, testing::HasSubstr("Art-Net"));
    EXPECT_THAT(decoded, testing::ContainsRegex("OpCode: ArtPoll"));
    EXPECT_THAT(decoded, testing::ContainsRegex("ProtVer: 14"));
    EXPECT_THAT(decoded, testing::Not(testing::HasSubstr("Malformed")));
    EXPECT_THAT(decoded, testing::Not(testing::HasSubstr("Expert Info (Error")));
}

TEST(ArtNetProtocol, DeviceIdComesFromTheLongName)
{
    struct Case {
        const char* longName;
        int id;
    } cases[] = {
        {"Pylon NodeDelta ID: 12", 12},
        {"Pylon NodeDelta ID:12 (rev 3)", 12},
        {"StoreEta ID:   7", 7},
        {"Pylon ID: 1 then ID: 2", 1},
        {"Pylon NodeDelta", 0},
        {"Pylon ID: none", 0},
        {"Pylon ID: 99999999999999999999", 2147483647},
        {"Other maker node ID: 5", -1},
        {"", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(exArtNetProtocol::DeviceIdFromLongName(c.longName), c.id) << c.longName;
}

TEST(ArtNetProtocol, PollReplyNeedsTheIdANonZeroOpCodeAndAWholeLongName)
{
    wxString longName;
    std::vector<uint8_t> reply = PollReply("Pylon NodeBeta ID: 3");
    ASSERT_TRUE(exArtNetProtocol::ParsePollReply(reply.data(), reply.size(), longName));
    EXPECT_EQ(longName, "Pylon NodeBeta ID: 3");

    EXPECT_TRUE(exArtNetProtocol::ParsePollReply(reply.data(), 108, longName));
    EXPECT_FALSE(exArtNetProtocol::ParsePollReply(reply.data(), 107, longName));

    const std::vector<uint8_t> zeroOpCode = PollReply("Pylon ID: 3", 0);
    EXPECT_FALSE(exArtNetProtocol::ParsePollReply(zeroOpCode.data(), zeroOpCode.size(), longName));
    reply[7] = ' ';
    EXPECT_FALSE(exArtNetProtocol::ParsePollReply(reply.data(), reply.size(), longName));
}

TEST(ArtNetProtocol, LongNameOfSixtyFourBytesEndsAtItsField)
{
    std::vector<uint8_t> reply = PollReply(std::string(64, 'P'));
    reply[108] = 'X';
    wxString longName;
    ASSERT_TRUE(exArtNetProtocol::ParsePollReply(reply.data(), reply.size(), longName));
    EXPECT_EQ(longName, wxString(64, 'P'));
}
