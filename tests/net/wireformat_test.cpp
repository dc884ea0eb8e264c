// Reader, writer and the UTF-8 rules they share.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "net/ipv4.h"
#include "net/utf8text.h"
#include "net/wirereader.h"
#include "net/wirewriter.h"

using testing::ElementsAre;

TEST(WireReader, ReadsBothByteOrdersAndRefusesEveryReadPastTheLength)
{
    const uint8_t bytes[] = {0x12, 0x34, 0x56, 0x78, 0x9A};
    const WireReader reader(bytes, sizeof(bytes));
    EXPECT_EQ(reader.ReadU16Be(0), 0x1234);
    EXPECT_EQ(reader.ReadU16Le(0), 0x3412);
    EXPECT_EQ(reader.ReadU32Be(1), 0x3456789Au);
    EXPECT_EQ(reader.ReadU32Le(1), 0x9A785634u);
    EXPECT_TRUE(reader.ok());

    EXPECT_EQ(reader.ReadU32Be(2), 0u);
    EXPECT_FALSE(reader.ok());
    const WireReader empty(bytes, 0);
    EXPECT_EQ(empty.ReadU8(0), 0);
    EXPECT_FALSE(empty.Has(0, 1));
    EXPECT_FALSE(reader.Has(SIZE_MAX, 2)); // no wrap-around in the bounds check
}

TEST(WireReader, TextEndsAtZeroFieldEndOrDatagramEnd)
{
    const uint8_t bytes[] = {'N', 'o', 'd', 'e', 0, 'X', 'Y', 'Z'};
    const WireReader reader(bytes, sizeof(bytes));
    EXPECT_EQ(reader.ReadText(0, 8), "Node");
    EXPECT_EQ(reader.ReadText(0, 2), "No");
    EXPECT_EQ(reader.ReadText(5, 64), "XYZ");
    EXPECT_EQ(reader.ReadText(8, 4), "");
}

TEST(Utf8Text, InvalidBytesAreReplacedNeverEmptyingTheName)
{
    const uint8_t latin1[] = {'C', 'a', 'f', 0xE9, ' ', 'B', 'a', 'r'};
    const wxString decoded = DecodeUtf8Lenient(latin1, sizeof(latin1));
    EXPECT_EQ(decoded, wxString::FromUTF8("Caf\xEF\xBF\xBD Bar"));

    const uint8_t cutSequence[] = {'A', 0xE2, 0x82}; // a euro sign missing its last byte
    EXPECT_EQ(DecodeUtf8Lenient(cutSequence, sizeof(cutSequence)).length(), 3u);
    const uint8_t overlong[] = {0xC0, 0xAF};
    EXPECT_EQ(DecodeUtf8Lenient(overlong, 2), wxString::FromUTF8("\xEF\xBF\xBD\xEF\xBF\xBD"));
    const uint8_t euro[] = {0xE2, 0x82, 0xAC};
    EXPECT_EQ(DecodeUtf8Lenient(euro, 3), wxString::FromUTF8("\xE2\x82\xAC"));
}

TEST(Utf8Text, CutNeverSplitsACharacter)
{
    const wxString text = wxString::FromUTF8("Bühne\xE2\x82\xAC"); // 'ü' 2 bytes, euro 3 bytes
    EXPECT_EQ(EncodeUtf8Cut(text, 100), "B\xC3\xBChne\xE2\x82\xAC");
    EXPECT_EQ(EncodeUtf8Cut(text, 8), "B\xC3\xBChne");
    EXPECT_EQ(EncodeUtf8Cut(text, 2), "B");
    EXPECT_EQ(EncodeUtf8Cut(text, 0), "");
}

TEST(WireWriter, PlacesFieldsByOffsetAndPadsTexts)
{
    WireWriter writer(12);
    writer.WriteU16Be(0, 0x0102);
    writer.WriteU16Le(2, 0x0102);
    writer.WriteU32Le(4, 0xC0A80114);
    writer.WriteText(8, 4, wxString::FromUTF8("a\xC3\xBC\xC3\xBC")); // "aüü": 5 bytes
    EXPECT_THAT(writer.Bytes(), ElementsAre(0x01, 0x02, 0x02, 0x01, 0x14, 0x01, 0xA8, 0xC0,
                                            'a', 0xC3, 0xBC, 0x00));
}

TEST(Ipv4, FormatsAndParsesDottedQuads)
{
    EXPECT_EQ(FormatIpAddress(0x7F000001), "127.0.0.1");
    EXPECT_EQ(FormatIpAddress(0xFFFFFFFF), "255.255.255.255");
    struct Case {
        const char* text;
        bool valid;
        uint32_t ip;
    } cases[] = {{"192.168.1.20", true, 0xC0A80114}, {"0.0.0.0", true, 0},
                 {"256.1.1.1", false, 0},           {"1.2.3", false, 0},
                 {"1.2.3.4.5", false, 0},           {"1..3.4", false, 0},
                 {"1.2.3.4 ", false, 0},            {"0001.2.3.4", false, 0}};
    for (const Case& c : cases) {
        uint32_t ip = 0;
        EXPECT_EQ(ParseIpAddress(c.text, ip), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(ip, c.ip) << c.text;
        }
    }
}
