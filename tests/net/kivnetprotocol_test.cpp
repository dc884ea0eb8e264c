// Kivnet messages against bytes written out by hand from the message tables.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "net/kivnetprotocol.h"
#include "support/handbytes.h"

using testing::ElementsAre;
using testing::ElementsAreArray;


TEST(KivnetProtocol, HeaderCheckWantsMagicVersionAndACode)
{
    exKivnetHeader header;
    std::vector<uint8_t> reply = Kivnet(0x8021, 96);
    EXPECT_TRUE(exKivnetProtocol::ReadHeader(reply.data(), reply.size(), header));
    EXPECT_EQ(header.code, 0x8021);
    EXPECT_EQ(header.command, 0x21);
    EXPECT_TRUE(header.isReply);
    std::vector<uint8_t> request = Kivnet(0x0021, 8);
    EXPECT_TRUE(exKivnetProtocol::ReadHeader(request.data(), request.size(), header));
    EXPECT_EQ(header.command, 0x21);
    EXPECT_FALSE(header.isReply);
    struct Case {
        const char* what;
        size_t offset;
        uint8_t value;
    } corruptions[] = {{"magic", 2, 0x94}, {"version", 5, 0x02}, {"code 0", 7, 0x00}};
    for (const Case& c : corruptions) {
        std::vector<uint8_t> bytes = Kivnet(0x0021, 8);
        bytes[c.offset] = c.value;
        if (c.offset == 7)
            bytes[6] = 0;
        EXPECT_FALSE(exKivnetProtocol::ReadHeader(bytes.data(), bytes.size(), header)) << c.what;
    }
    EXPECT_FALSE(exKivnetProtocol::ReadHeader(reply.data(), 7, header)) << "short";
}

TEST(KivnetProtocol, RequestsAreHeaderOnlyExceptPortAndLargeIdentify)
{
    EXPECT_THAT(exKivnetProtocol::BuildHeaderOnly(exKivnetProtocol::kDeviceSettingsRequest),
                ElementsAreArray(Kivnet(0x0021, 8)));
    EXPECT_THAT(exKivnetProtocol::BuildHeaderOnly(exKivnetProtocol::kSwitchSettingsRequest),
                ElementsAreArray(Kivnet(0x0041, 8)));
    EXPECT_THAT(exKivnetProtocol::BuildHeaderOnly(exKivnetProtocol::kIdentify),
                ElementsAreArray(Kivnet(0x0010, 8)));
    EXPECT_THAT(exKivnetProtocol::BuildLargeIdentifyRequest(),
                ElementsAre(0x00, 0x36, 0x93, 0x16, 0x00, 0x01, 0x00, 0x10, // header
                            0xFF, 0xFF));                                   // every target
    EXPECT_THAT(exKivnetProtocol::BuildPortSettingsRequest(4),
                ElementsAre(0x00, 0x36, 0x93, 0x16, 0x00, 0x01, 0x00, 0x31, // header
                            0x04,                                           // wire port
                            0x00));
}

TEST(KivnetProtocol, DeviceSettingsCutTheNameToSeventeenBytes)
{
    exDeviceSettings settings;
    settings.name = "Truss Downstage 12"; // 18 characters
    settings.locked = true;
    settings.displayTimeout = 5;
    settings.optionA = 0xA5;
    settings.optionB = 0x5A;
    std::vector<uint8_t> expected = Kivnet(0x0020, 222);
    const char name[] = "Truss Downstage 1"; // the first 17 bytes, no terminating zero
    std::copy(name, name + 17, expected.begin() + 8);
    expected[34] = 2;    // locked
    expected[35] = 5;    // one minute
    expected[94] = 0xA5; // option byte A, as the device gave it
    expected[95] = 0x5A; // option byte B
    EXPECT_THAT(exKivnetProtocol::BuildDeviceSettings(settings), ElementsAreArray(expected));

    settings.name = wxString::FromUTF8("B\xC3\xBChne links vorne"); // 'ü' at byte 1..2
    settings.locked = false;
    std::vector<uint8_t> bytes = exKivnetProtocol::BuildDeviceSettings(settings);
    EXPECT_EQ(bytes[34], 1);
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 25),
              "B\xC3\xBChne links vorn");
    EXPECT_EQ(bytes[25], 0);

    // A cut that would split a two-byte character leaves the whole character out.
    settings.name = wxString::FromUTF8("1234567890123456\xC3\xBC");
    bytes = exKivnetProtocol::BuildDeviceSettings(settings);
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 25),
              std::string("1234567890123456") + '\0');
}

TEST(KivnetProtocol, DeviceSettingsReplyFields)
{
    std::vector<uint8_t> reply = Kivnet(0x8021, 96);
    reply[34] = 2;                              // locked
    reply[35] = 1;                              // always on
    Put(reply, 36, {'I', 'P', ' ', 'o', 'k'});  // display line 2
    reply[94] = 0x11;                           // option A
    reply[95] = 0x22;                           // option B
    exDeviceSettingsReply parsed;
    ASSERT_TRUE(exKivnetProtocol::ParseDeviceSettingsReply(reply.data(), reply.size(), parsed));
    EXPECT_EQ(parsed.lock, 2);
    EXPECT_EQ(parsed.displayTimeout, 1);
    EXPECT_EQ(parsed.displayLine2, "IP ok");
    EXPECT_EQ(parsed.optionA, 0x11);
    EXPECT_EQ(parsed.optionB, 0x22);

    std::fill(reply.begin() + 36, reply.begin() + 94, 'x'); // no terminating zero
    ASSERT_TRUE(exKivnetProtocol::ParseDeviceSettingsReply(reply.data(), reply.size(), parsed));
    EXPECT_EQ(parsed.displayLine2, wxString(58, 'x'));
    EXPECT_FALSE(exKivnetProtocol::ParseDeviceSettingsReply(reply.data(), 95, parsed));
}

TEST(KivnetProtocol, PortSettingsReplyByMode)
{
    std::vector<uint8_t> input = Kivnet(0x8031, 22);
    Put(input, 8, {3, 1});                       // wire port 3, input
    Put(input, 12, {0x02, 0x12});                // Art-Net universe 18
    Put(input, 18, {0xDE, 0xAD, 0xBE, 0xEF});    // port value
    exPortSettings parsed;
    ASSERT_TRUE(exKivnetProtocol::ParsePortSettingsReply(input.data(), input.size(), parsed));
    EXPECT_EQ(parsed.wirePort, 3);
    EXPECT_EQ(parsed.mode, 1);
    EXPECT_EQ(parsed.universeCode, 0x0212);
    EXPECT_EQ(parsed.portValue, 0xDEADBEEFu);
    EXPECT_FALSE(exKivnetProtocol::ParsePortSettingsReply(input.data(), 21, parsed));

    std::vector<uint8_t> output = Kivnet(0x8031, 164);
    Put(output, 8, {0, 2});                      // wire port 0, output
    Put(output, 12, {0x03, 0x12});               // sACN universe 18
    Put(output, 18, {0x99, 0x99, 0x99, 0x99});   // not the output form's value
    Put(output, 160, {0x01, 0x02, 0x03, 0x04});  // port value
    ASSERT_TRUE(exKivnetProtocol::ParsePortSettingsReply(output.data(), output.size(), parsed));
    EXPECT_EQ(parsed.mode, 2);
    EXPECT_EQ(parsed.universeCode, 0x0312);
    EXPECT_EQ(parsed.portValue, 0x01020304u);
    EXPECT_FALSE(exKivnetProtocol::ParsePortSettingsReply(output.data(), 163, parsed));

    std::vector<uint8_t> disabled = Kivnet(0x8031, 10);
    Put(disabled, 8, {2, 0});
    ASSERT_TRUE(exKivnetProtocol::ParsePortSettingsReply(disabled.data(), 10, parsed));
    EXPECT_EQ(parsed.wirePort, 2);
    EXPECT_EQ(parsed.mode, 0);

    std::vector<uint8_t> unknownMode = Kivnet(0x8031, 164);
    Put(unknownMode, 8, {1, 3});
    EXPECT_FALSE(exKivnetProtocol::ParsePortSettingsReply(unknownMode.data(), 164, parsed));
}

TEST(KivnetProtocol, PortProgrammingInputAndOutputForms)
{
    exPortSettings port{5, 1, 0x0212, 0x0A0B0C0D};
    EXPECT_THAT(exKivnetProtocol::BuildPortProgramming(port),
                ElementsAre(0x00, 0x36, 0x93, 0x16, 0x00, 0x01, 0x00, 0x30, // header
                            0x05,                                           // wire port
                            0x01,                                           // input
                            0x01,                                           // active
                            0x01,                                           // input form
                            0x02, 0x12,                                     // universe code
                            0x64, 0x00, 0x00, 0x00,                         // 100, 0, 0, 0
                            0x0A, 0x0B, 0x0C, 0x0D));                       // port value

    std::vector<uint8_t> expected = Kivnet(0x0030, 164);
    Put(expected, 8, {0x05, 0x02, 0x01, 0x02, 0x03, 0x12}); // port, output, active, form, code
    Put(expected, 160, {0x0A, 0x0B, 0x0C, 0x0D});            // port value
    port.mode = 2;
    port.universeCode = 0x0312;
    EXPECT_THAT(exKivnetProtocol::BuildPortProgramming(port), ElementsAreArray(expected));

    port.mode = 0;
    expected[9] = 0x00;  // disabled
    expected[10] = 0x00; // not active
    EXPECT_THAT(exKivnetProtocol::BuildPortProgramming(port), ElementsAreArray(expected));
}

TEST(KivnetProtocol, IdentifyReplyIdIsBcdWithHundreds)
{
    std::vector<uint8_t> reply = Kivnet(0x8011, 44);
    Put(reply, 8, {'C', 'o', 'r', 'e'});
    reply[41] = 0x23; // two decimal digits
    reply[42] = 0x01; // hundreds
    reply[43] = 18;   // switch ports
    exIdentifyReply parsed;
    ASSERT_TRUE(exKivnetProtocol::ParseIdentifyReply(reply.data(), reply.size(), parsed));
    EXPECT_EQ(parsed.name, "Core");
    EXPECT_EQ(parsed.id, 123);
    EXPECT_TRUE(parsed.hasPortCount);
    EXPECT_EQ(parsed.portCount, 18);

    ASSERT_TRUE(exKivnetProtocol::ParseIdentifyReply(reply.data(), 43, parsed));
    EXPECT_FALSE(parsed.hasPortCount);
    EXPECT_FALSE(exKivnetProtocol::ParseIdentifyReply(reply.data(), 42, parsed));
}

TEST(KivnetProtocol, SmallSwitchSettingsMessageAndReply)
{
    std::vector<uint8_t> expected = Kivnet(0x0040, 450);
    Put(expected, 8, {'F', 'O', 'H'});
    expected[26] = 2;                      // locked
    expected[27] = 8;                      // switch ports
    Put(expected, 28, {0x05, 0x00});       // display time-out 5, little-endian
    Put(expected, 30, {0x34, 0x12});       // switch word 0x1234, little-endian
    Put(expected, 66 + 16 * 0, {1, 0, 0x0A, 0x00});  // port 0: normal, VLAN 10
    Put(expected, 66 + 16 * 3, {2, 1, 0x05, 0x00});  // port 3: loop with port 5, speed 1
    Put(expected, 66 + 16 * 23, {3, 0, 0x01, 0x01}); // port 23: filter, VLAN 257

    exSwitchSettings settings;
    settings.name = "FOH";
    settings.locked = true;
    settings.recordCount = 8;
    settings.displayTimeout = 5;
    settings.switchWord = 0x1234;
    settings.ports = {{0, 1, 0, 10}, {3, 2, 1, 5}, {23, 3, 0, 257}, {24, 1, 0, 99}};
    EXPECT_THAT(exKivnetProtocol::BuildSwitchSettings(exSwitchForm::Small, settings),
                ElementsAreArray(expected));

    std::vector<uint8_t> reply = expected;
    Put(reply, 6, {0x80, 0x41});
    Put(reply, 32, {'l', 'i', 'n', 'e'});
    exSwitchSettings parsed;
    ASSERT_TRUE(exKivnetProtocol::ParseSwitchSettingsReply(exSwitchForm::Small, reply.data(),
                                                           reply.size(), parsed));
    EXPECT_EQ(parsed.name, "FOH");
    EXPECT_TRUE(parsed.locked);
    EXPECT_EQ(parsed.displayTimeout, 5);
    EXPECT_EQ(parsed.switchWord, 0x1234);
    EXPECT_EQ(parsed.displayLine2, "line");
    ASSERT_EQ(parsed.ports.size(), 8u);
    EXPECT_EQ(parsed.ports[3].mode, 2);
    EXPECT_EQ(parsed.ports[3].value, 5);
    EXPECT_EQ(parsed.ports[0].value, 10);
    EXPECT_FALSE(exKivnetProtocol::ParseSwitchSettingsReply(exSwitchForm::Small, reply.data(),
                                                            449, parsed));
}

TEST(KivnetProtocol, LargeSwitchSettingsWithSwitchBytesAndModuleTable)
{
    std::vector<uint8_t> expected = Kivnet(0x0040, 1354);
    Put(expected, 8, {'C', 'o', 'r', 'e'});
    expected[26] = 1;                          // unlocked
    expected[27] = 18;                         // switch ports
    Put(expected, 28, {0x02, 0x00});           // display time-out, little-endian
    Put(expected, 30, {0x12, 0x34});           // switch word 0x1234, big-endian
    expected[64] = 0xBB;                       // switch byte B
    expected[65] = 0xAA;                       // switch byte A
    Put(expected, 66 + 8 * 17, {2, 0, 0x00, 0x00}); // port 17: trunk
    Put(expected, 66 + 8 * 159, {1, 2, 0xE8, 0x03}); // port 159: VLAN 1000

    exSwitchSettings settings;
    settings.name = "Core";
    settings.recordCount = 18;
    settings.displayTimeout = 2;
    settings.switchWord = 0x1234;
    settings.switchByteA = 0xAA;
    settings.switchByteB = 0xBB;
    settings.ports = {{17, 2, 0, 0}, {159, 1, 2, 1000}, {160, 1, 0, 1}};
    EXPECT_THAT(exKivnetProtocol::BuildSwitchSettings(exSwitchForm::Large, settings),
                ElementsAreArray(expected));

    std::vector<uint8_t> reply = expected;
    Put(reply, 6, {0x80, 0x41});
    // Slot 1 in the low nibble of the first byte, slot 2 in its high nibble, ... slot 15 in the
    // low nibble of the eighth.
    Put(reply, 1346, {0x84, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF2});
    exSwitchSettings parsed;
    ASSERT_TRUE(exKivnetProtocol::ParseSwitchSettingsReply(exSwitchForm::Large, reply.data(),
                                                           reply.size(), parsed));
    EXPECT_EQ(parsed.switchWord, 0x1234);
    EXPECT_EQ(parsed.switchByteA, 0xAA);
    EXPECT_EQ(parsed.switchByteB, 0xBB);
    EXPECT_FALSE(parsed.locked);
    ASSERT_EQ(parsed.ports.size(), 18u);
    EXPECT_EQ(parsed.ports[17].mode, 2);
    EXPECT_THAT(parsed.modules,
                ElementsAre(0, 4, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2));
    EXPECT_FALSE(exKivnetProtocol::ParseSwitchSettingsReply(exSwitchForm::Large, reply.data(),
                                                            1353, parsed));
}
