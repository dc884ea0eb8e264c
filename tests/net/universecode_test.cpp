#include <gtest/gtest.h>

#include <string>

#include "net/universecode.h"

TEST(UniverseCode, DecodesByHighByte)
{
    struct Case {
        uint16_t code;
        int protocol;
        int universe;
        const char* text;
    } cases[] = {
        {0x0000, exUniverseCode::kNotSet, exUniverseCode::kNotSet, ""},
        {0x00FF, exUniverseCode::kNotSet, exUniverseCode::kNotSet, ""},
        {0x0100, exUniverseCode::kShownet, 1, "N 1"},
        {0x0105, exUniverseCode::kShownet, 6, "N 6"},
        {0x01FF, exUniverseCode::kShownet, 256, "N 256"},
        {0x0200, exUniverseCode::kArtNet, 0, "A 0-0"},
        {0x0212, exUniverseCode::kArtNet, 18, "A 1-2"},
        {0x021F, exUniverseCode::kArtNet, 31, "A 1-F"},
        {0x0300, exUniverseCode::kSacn, 0, "S 0"},
        {0x0312, exUniverseCode::kSacn, 18, "S 18"},
        {0x1234, exUniverseCode::kSacn, 0xF34, "S 3892"},
    };
    for (const Case& c : cases) {
        int protocol = 99, universe = 99;
        exUniverseCode::Decode(c.code, protocol, universe);
        EXPECT_EQ(protocol, c.protocol) << std::hex << c.code;
        EXPECT_EQ(universe, c.universe) << std::hex << c.code;
        EXPECT_EQ(exUniverseCode::Text(protocol, universe), c.text) << std::hex << c.code;
    }
}

TEST(UniverseCode, EncodesWithTheDevicesSixteenBitArithmetic)
{
    struct Case {
        int protocol;
        int universe;
        uint16_t code;
    } cases[] = {
        {exUniverseCode::kShownet, 1, 0x0100},   {exUniverseCode::kShownet, 256, 0x01FF},
        {exUniverseCode::kArtNet, 0, 0x0200},    {exUniverseCode::kArtNet, 255, 0x02FF},
        {exUniverseCode::kArtNet, 256, 0x0000},  {exUniverseCode::kArtNet, 300, 0x0000},
        {exUniverseCode::kSacn, 18, 0x0312},     {exUniverseCode::kSacn, 0xFFFF, 0x02FF},
        {exUniverseCode::kSacn, 0x10005, 0x0305}, {exUniverseCode::kNotSet, 5, 0x0000},
        {exUniverseCode::kSacn, exUniverseCode::kNotSet, 0x0000},
        {7, 1, 0x0000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(exUniverseCode::Encode(c.protocol, c.universe), c.code)
            << c.protocol << "/" << c.universe;
}

// The ranges a port keeps per protocol, where a protocol change brings a universe, what a port
// sends, and how the port dialog's entry shows it.
TEST(UniverseCode, RangesDefaultsAndEntryTextPerProtocol)
{
    constexpr int A = exUniverseCode::kArtNet, S = exUniverseCode::kSacn,
                  N = exUniverseCode::kShownet;
    struct Case {
        int protocol;
        int universe;
        bool inRange;
        int clamped;
        int sent;
        const char* entry;
        const char* shortEntry;
    } cases[] = {
        {A, 0, true, 0, 0, "0-0", "0"},        {A, 15, true, 15, 15, "0-F", "F"},
        {A, 31, true, 31, 31, "1-F", "1-F"},   {A, 255, true, 255, 255, "F-F", "F-F"},
        {A, 256, false, 0, 256, "0-0", "0-0"}, {A, -1, false, 0, -1, "", ""},
        {S, 0, false, 1, 0, "0", "0"},         {S, 1, true, 1, 1, "1", "1"},
        {S, 63999, true, 63999, 63999, "63999", "63999"},
        {S, 64000, false, 1, 64000, "64000", "64000"},
        {N, 0, true, 1, 1, "0", "0"},          {N, 127, true, 127, 127, "127", "127"},
        {N, 128, false, 1, 128, "128", "128"},
    };
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.protocol) + "/" + std::to_string(c.universe);
        EXPECT_EQ(exUniverseCode::InRange(c.protocol, c.universe), c.inRange) << what;
        EXPECT_EQ(exUniverseCode::Clamp(c.protocol, c.universe), c.clamped) << what;
        EXPECT_EQ(exUniverseCode::Sendable(c.protocol, c.universe), c.sent) << what;
        EXPECT_EQ(exUniverseCode::EntryText(c.protocol, c.universe), c.entry) << what;
        EXPECT_EQ(exUniverseCode::EntryText(c.protocol, c.universe, true), c.shortEntry) << what;
    }
    EXPECT_FALSE(exUniverseCode::InRange(exUniverseCode::kNotSet, 0));
}
