#include <gtest/gtest.h>

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
