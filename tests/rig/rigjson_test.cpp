// Rig files as text: what a hand-written file reads as, what the program writes, and every way a
// file is refused.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "rig/rigjson.h"

using testing::HasSubstr;

namespace {

// A node, a switch with a loop pair (and a name of exactly 17 bytes), a large switch with
// modules and a second node that leaves out everything it may.
const std::string kRig = R"({
  "format": "merrow-rigwise-rig",
  "version": "1.0",
  "program": "merrow-rigwise 1.16",
  "saved": "2026-12-09T12:45:27Z",
  "devices": [
    {
      "modelCode": "0x0108",
      "modelName": "Pylon NodeDelta",
      "unit": 4660,
      "mac": "00:50:C2:12:34:56",
      "name": "FOH Delta",
      "ip": "10.201.0.10",
      "mask": "255.255.255.128",
      "dhcp": false,
      "displayTimeout": null,
      "lock": true,
      "dmxPorts": [
        { "port": 2, "mode": "output", "protocol": "artnet", "universe": 17 },
        { "port": 9, "mode": "input", "protocol": "sacn", "universe": 63999 },
        { "port": 4, "mode": "disabled", "protocol": null, "universe": null }
      ]
    },
    {
      "modelCode": "0x0318",
      "unit": 7,
      "name": "Bühne Theta Link",
      "ip": "10.201.0.20",
      "mask": "255.255.0.0",
      "dhcp": true,
      "displayTimeout": "5-seconds",
      "lock": false,
      "switchPorts": [
        { "port": 1, "mode": "normal", "speed": "auto", "vlan": 1 },
        { "port": 2, "mode": "loop", "speed": "100", "vlan": 20, "loopPartner": 3 },
        { "port": 3, "mode": "loop", "speed": "10", "vlan": 20, "loopPartner": 2 },
        { "port": 5, "mode": "trunk", "speed": "auto", "vlan": 4094 },
        { "port": 7, "mode": "filter", "speed": "sfp", "vlan": 30 }
      ]
    },
    {
      "modelCode": "0x0319",
      "unit": 9,
      "name": "Dimmer Kappa",
      "ip": "10.201.0.30",
      "mask": "255.0.0.0",
      "dhcp": false,
      "displayTimeout": "1-minute",
      "lock": false,
      "dmxPorts": [],
      "switchPorts": [ { "port": 18, "mode": "disabled", "speed": "auto", "vlan": 1 } ],
      "modules": [
        { "bay": 15, "dmxPorts": [
          { "port": 16, "mode": "output", "protocol": "shownet", "universe": 127 } ] },
        { "bay": 4 }
      ]
    },
    {
      "modelCode": "0x0108",
      "unit": 4661,
      "name": "",
      "ip": "10.201.0.11",
      "mask": "255.255.255.0",
      "dhcp": false,
      "lock": false
    }
  ]
}
)";

exRigDevice Device(uint16_t model, uint16_t unit, const char* name, uint32_t ip, uint32_t mask)
{
    exRigDevice device;
    device.modelCode = model;
    device.unitNumber = unit;
    device.name = name;
    device.ip = ip;
    device.mask = mask;
    return device;
}

// What kRig holds, written out by hand.
exRigDocument ExpectedRig()
{
    exRigDocument rig;
    rig.programVersion = "merrow-rigwise 1.16";
    rig.savedAt = "2026-12-09T12:45:27Z";
    exRigDevice node = Device(0x0108, 4660, "FOH Delta", 0x0AC9000A, 0xFFFFFF80);
    node.modelName = "Pylon NodeDelta";
    node.mac = {0x00, 0x50, 0xC2, 0x12, 0x34, 0x56};
    node.locked = true;
    node.dmxPorts = {{2, 2, 0, 17}, {9, 1, 1, 63999}, {4, 0, -1, -1}};
    exRigDevice theta = Device(0x0318, 7, "B\xC3\xBChne Theta Link", 0x0AC90014, 0xFFFF0000);
    theta.dhcp = true;
    theta.displayTimeout = 2;
    theta.switchPorts = {
        {1, 1, 0, 1, 0}, {2, 2, 2, 20, 3}, {3, 2, 1, 20, 2}, {5, 2, 0, 4094, 0}, {7, 3, 3, 30, 0}};
    exRigDevice kappa = Device(0x0319, 9, "Dimmer Kappa", 0x0AC9001E, 0xFF000000);
    kappa.displayTimeout = 5;
    kappa.switchPorts = {{18, 0, 0, 1, 0}};
    kappa.modules = {{15, {{16, 2, 2, 127}}}, {4, {}}};
    rig.devices = {node, theta, kappa, Device(0x0108, 4661, "", 0x0AC9000B, 0xFFFFFF00)};
    return rig;
}

std::string Replaced(const std::string& text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << "not in the rig: " << from;
    EXPECT_EQ(text.find(from, at + 1), std::string::npos) << "twice in the rig: " << from;
    if (at == std::string::npos)
        return text;
    return text.substr(0, at) + to + text.substr(at + from.size());
}

void ExpectSameDocument(const exRigDocument& read, const exRigDocument& expected)
{
    EXPECT_EQ(read.programVersion, expected.programVersion);
    EXPECT_EQ(read.savedAt, expected.savedAt);
    ASSERT_EQ(read.devices.size(), expected.devices.size());
    for (size_t i = 0; i < read.devices.size(); ++i)
        EXPECT_TRUE(read.devices[i] == expected.devices[i]) << "device " << i + 1;
}

// Read must refuse `text`, name `entry` and `field`, and leave the document as it was.
void ExpectRefused(const std::string& text, const char* entry, const char* field)
{
    exRigDocument document;
    document.programVersion = "kept";
    document.devices = {Device(0x0108, 1, "kept", 1, 1)};
    const exRigDocument before = document;
    wxString problem;
    EXPECT_FALSE(exRigJson::Read(text, document, problem));
    EXPECT_THAT(problem.utf8_string(), HasSubstr(entry));
    EXPECT_THAT(problem.utf8_string(), HasSubstr(field));
    EXPECT_TRUE(problem.EndsWith(".")) << problem;
    ExpectSameDocument(document, before);
}

} // namespace

TEST(RigJson, ReadsAHandWrittenRig)
{
    exRigDocument read;
    wxString problem;
    ASSERT_TRUE(exRigJson::Read(kRig, read, problem)) << problem;
    ExpectSameDocument(read, ExpectedRig());
}

TEST(RigJson, NewerMinorVersionWithFieldsOfItsOwnIsRead)
{
    std::string newer =
        Replaced(kRig, R"("version": "1.0",)", R"("version": "1.12", "theme": { "dark": true },)");
    newer = Replaced(newer, R"("lock": true,)", R"("lock": true, "pin": 1234,)");
    newer = Replaced(newer, R"("vlan": 30 })", R"("vlan": 30, "poe": "on" })");
    newer = Replaced(newer, R"({ "bay": 4 })", R"({ "bay": 4, "kind": ["x"] })");
    exRigDocument read;
    wxString problem;
    ASSERT_TRUE(exRigJson::Read(newer, read, problem)) << problem;
    ExpectSameDocument(read, ExpectedRig());
}

TEST(RigJson, WrittenRigReadsBackTheSame)
{
    exRigDocument rig = ExpectedRig();
    rig.devices[1].modelName = "Pylon SwitchTheta";
    rig.devices[2].modelName = "Pylon SwitchKappa";
    rig.devices[2].mac = {0xAB, 0xCD, 0xEF, 0x01, 0x02, 0x03};
    const std::string text = exRigJson::Write(rig);
    exRigDocument read;
    wxString problem;
    ASSERT_TRUE(exRigJson::Read(text, read, problem)) << problem << "\n" << text;
    ExpectSameDocument(read, rig);

    EXPECT_EQ(text.rfind("{\n  \"format\": \"merrow-rigwise-rig\",\n  \"version\": \"1.0\",", 0),
              0u);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_THAT(text, HasSubstr(R"("modelCode": "0x0319")"));
    EXPECT_THAT(text, HasSubstr(R"("mac": "ab:cd:ef:01:02:03")"));
    EXPECT_THAT(text, HasSubstr(R"("displayTimeout": null)"));
    EXPECT_THAT(text, HasSubstr(R"("modules": [])"));
    size_t partners = 0;
    for (size_t at = text.find("loopPartner"); at != std::string::npos;
         at = text.find("loopPartner", at + 1))
        ++partners;
    EXPECT_EQ(partners, 2u) << "only the two loop ports name a partner";
}

TEST(RigJson, RefusesTextThatIsNoRigDocument)
{
    const std::string half = kRig.substr(0, kRig.size() / 2);
    struct Case {
        std::string text;
        const char* entry;
        std::string field;
    } cases[] = {
        {"", "empty", "."},
        {" \n", "empty", "."},
        {half, "cut short", "after " + std::to_string(half.size()) + " bytes"},
        {Replaced(kRig, R"("lock": true,)", R"("lock": true,,)"), "not valid JSON", "line 17"},
        {Replaced(kRig, "\"dhcp\": true", "\"dhcp\": 1e999"), "could not be read", "1e999"},
        {"[" + kRig + "]", "top level", "not an object"},
        {"\"merrow-rigwise-rig\"", "top level", "a string"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        ExpectRefused(c.text, c.entry, c.field.c_str());
    }
}

// Each case changes one place in kRig; the refusal names the entry and the field.
TEST(RigJson, RefusesEachFaultNamingEntryAndField)
{
    const char* top = "The rig file";
    const char* node = "Device 1 (Pylon NodeDelta, unit 4660)";
    const char* theta = "Device 2 (Pylon SwitchTheta, unit 7)";
    const char* kappa = "Device 3 (Pylon SwitchKappa, unit 9)";
    struct Case {
        const char* from;
        const char* to;
        const char* entry;
        const char* field;
    } cases[] = {
        // The header.
        {R"("format": "merrow-rigwise-rig",)", "", top, "\"format\" is missing"},
        {"\"merrow-rigwise-rig\"", "\"merrow-rigwise\"", top, "\"format\""},
        {R"("version": "1.0")", R"("version": "2.0")", top, "\"version\" is \"2.0\""},
        {R"("version": "1.0")", R"("version": "1")", top, "\"version\""},
        {R"("version": "1.0")", R"("version": "1.0.1")", top, "\"version\""},
        {R"("version": "1.0")", R"("version": 1.0)", top, "\"version\" is a number"},
        {R"("program": "merrow-rigwise 1.16")", R"("program": 116)", top, "\"program\""},
        {R"("format")", R"("saved": "x", "format")", top, "\"saved\" appears twice"},
        // Device fields.
        {R"("devices": [)", R"("devices": [ 5,)", "Device 1 is a number", "not an object"},
        {R"("modelCode": "0x0108",
      "modelName")",
         R"("modelName")", "Device 1:", "\"modelCode\" is missing"},
        {"\"0x0318\"", "\"0x9999\"", "Device 2:", "\"modelCode\" is \"0x9999\", no model"},
        {"\"0x0318\"", "\"0x318\"", "Device 2:", "\"modelCode\""},
        {"\"0x0318\"", "\"0X0318\"", "Device 2:", "\"modelCode\""},
        {"\"0x0318\"", "792", "Device 2:", "\"modelCode\" is a number"},
        {R"("unit": 4660,)", "", "Device 1:", "\"unit\" is missing"},
        {R"("unit": 4660)", R"("unit": 65536)", "Device 1:", "\"unit\" is 65536, outside 0"},
        {R"("unit": 4660)", R"("unit": -1)", "Device 1:", "\"unit\""},
        {R"("unit": 4660)", R"("unit": 4660.5)", "Device 1:", "not a whole number"},
        {R"("unit": 4660)", R"("unit": "4660")", "Device 1:", "\"unit\" is a string"},
        {R"("unit": 4661)", R"("unit": 4660)", "Device 4 (Pylon NodeDelta, unit 4660)",
         "as device 1"},
        {R"("name": "FOH Delta",)", "", node, "\"name\" is missing"},
        {"\"FOH Delta\"", "\"FOH Delta 12345678\"", node, "\"name\""},
        {"\"FOH Delta\"",
         "\"\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\"", node,
         "\"name\""},
        {"\"FOH Delta\"", R"("FOH\tDelta")", node, "\"name\""},
        {"\"FOH Delta\"", R"("FOH\u007fDelta")", node, "\"name\""},
        {"\"FOH Delta\"", "null", node, "\"name\" is null"},
        {R"("name": "FOH Delta",)", R"("name": "FOH Delta", "name": "A",)", node,
         "\"name\" appears twice"},
        {R"("modelName": "Pylon NodeDelta")", R"("modelName": 5)", node, "\"modelName\""},
        {"\"00:50:C2:12:34:56\"", "\"00:50:C2:12:34\"", node, "\"mac\""},
        {"\"00:50:C2:12:34:56\"", "\"00-50-C2-12-34-56\"", node, "\"mac\""},
        {R"("ip": "10.201.0.10",)", "", node, "\"ip\" is missing"},
        {"\"10.201.0.10\"", "\"10.201.0\"", node, "\"ip\""},
        {"\"10.201.0.10\"", "\"10.201.0.256\"", node, "\"ip\""},
        {"\"10.201.0.10\"", "\" 10.201.0.10\"", node, "\"ip\""},
        {"\"10.201.0.10\"", "\"0.0.0.0\"", node, "\"ip\""},
        {R"("mask": "255.255.255.128",)", "", node, "\"mask\" is missing"},
        {"\"255.255.255.128\"", "\"0.0.0.0\"", node, "\"mask\""},
        {R"("dhcp": true,)", "", theta, "\"dhcp\" is missing"},
        {R"("dhcp": true)", R"("dhcp": "yes")", theta, "\"dhcp\" is a string"},
        {R"("lock": true,)", "", node, "\"lock\" is missing"},
        {R"("lock": true)", R"("lock": 1)", node, "\"lock\""},
        {"\"5-seconds\"", "\"5 seconds\"", theta, "\"displayTimeout\""},
        {"\"5-seconds\"", "2", theta, "\"displayTimeout\""},
        // DMX ports.
        {R"("dmxPorts": [],)", R"("dmxPorts": {},)", kappa, "\"dmxPorts\" is an object"},
        {R"({ "port": 2, "mode": "output", )", R"({ "mode": "output", )", node,
         "\"port\" of entry 1 of \"dmxPorts\" is missing"},
        {R"("port": 9,)", R"("port": 11,)", node, "\"port\" of entry 2 of \"dmxPorts\" is 11"},
        {R"("port": 9,)", R"("port": 0,)", node, "\"port\" of entry 2 of \"dmxPorts\""},
        {R"("port": 4,)", R"("port": 2,)", node, "DMX port 2 is listed twice"},
        {R"("dmxPorts": [],)", R"("dmxPorts": [ { "port": 1 } ],)", kappa, "\"port\""},
        {R"("mode": "input")", R"("mode": "in")", node, "\"mode\" of DMX port 9"},
        {R"("port": 2, "mode": "output", )", R"("port": 2, )", node, "\"mode\" of DMX port 2"},
        {"\"artnet\"", "\"ArtNet\"", node, "\"protocol\" of DMX port 2"},
        {R"("protocol": "artnet", )", "", node, "\"protocol\" of DMX port 2 is missing"},
        {R"(, "universe": 17 })", " }", node, "\"universe\" of DMX port 2 is missing"},
        {R"("universe": 17)", R"("universe": 300)", node,
         "\"universe\" of DMX port 2 is 300, outside Art-Net's 0 to 255"},
        {R"("universe": 17)", R"("universe": null)", node, "\"universe\" of DMX port 2"},
        {"63999", "64000", node, "\"universe\" of DMX port 9 is 64000, outside sACN's 1 to 63999"},
        {"63999", "0", node, "\"universe\" of DMX port 9"},
        {R"("protocol": null, "universe": null)", R"("protocol": null, "universe": 5)", node,
         "\"universe\" of DMX port 4"},
        {R"({ "port": 2, "mode": "output")", R"({ "port": 2, "port": 3, "mode": "output")", node,
         "\"port\" of entry 1 of \"dmxPorts\" appears twice"},
        // Switch ports.
        {R"("lock": true,)",
         R"("lock": true, "switchPorts": [ )"
         R"({ "port": 1, "mode": "normal", "speed": "auto", "vlan": 1 } ],)",
         node, "\"port\" of entry 1 of \"switchPorts\""},
        {R"("port": 7,)", R"("port": 9,)", theta, "\"port\" of entry 5 of \"switchPorts\" is 9"},
        {R"("port": 18,)", R"("port": 19,)", kappa, "\"port\" of entry 1 of \"switchPorts\""},
        {R"("port": 5,)", R"("port": 1,)", theta, "switch port 1 is listed twice"},
        {R"("mode": "normal")", R"("mode": "Normal")", theta, "\"mode\" of switch port 1"},
        {R"("speed": "sfp")", R"("speed": "1000")", theta, "\"speed\" of switch port 7"},
        {R"("speed": "sfp", )", "", theta, "\"speed\" of switch port 7 is missing"},
        {R"(, "vlan": 30)", "", theta, "\"vlan\" of switch port 7 is missing"},
        {R"("vlan": 4094)", R"("vlan": 4095)", theta, "\"vlan\" of switch port 5 is 4095"},
        {R"("vlan": 30)", R"("vlan": 0)", theta, "\"vlan\" of switch port 7"},
        {R"(, "loopPartner": 3 })", " }", theta, "\"loopPartner\" of switch port 2 is missing"},
        {R"("loopPartner": 3 })", R"("loopPartner": 4 })", theta,
         "\"loopPartner\" of switch port 2 is 4"},
        {R"("loopPartner": 3 })", R"("loopPartner": 2 })", theta,
         "\"loopPartner\" of switch port 2 is 2, the port itself"},
        {R"("loopPartner": 3 })", R"("loopPartner": 5 })", theta,
         "\"loopPartner\" of switch port 2 is 5"},
        {R"("loopPartner": 2 })", R"("loopPartner": 1 })", theta,
         "\"loopPartner\" of switch port 2"},
        {R"("loopPartner": 3 })", R"("loopPartner": "3" })", theta,
         "\"loopPartner\" of switch port 2 is a string"},
        {R"("vlan": 4094 })", R"("vlan": 4094, "loopPartner": 1 })", theta,
         "\"loopPartner\" of switch port 5"},
        {R"("loopPartner": 3 })", R"("loopPartner": 3, "vlan": 2 })", theta,
         "\"vlan\" of entry 2 of \"switchPorts\" appears twice"},
        // Modules.
        {R"("lock": true,)", R"("lock": true, "modules": [ { "bay": 1 } ],)", node, "\"modules\""},
        {R"({ "bay": 4 })", R"({ "bay": 16 })", kappa, "\"bay\" of entry 2 of \"modules\" is 16"},
        {R"({ "bay": 4 })", R"({ "bay": 0 })", kappa, "\"bay\" of entry 2 of \"modules\""},
        {R"({ "bay": 4 })", "{ }", kappa, "\"bay\" of entry 2 of \"modules\" is missing"},
        {R"({ "bay": 4 })", "4", kappa, "entry 2 of \"modules\" is a number"},
        {R"({ "bay": 4 })", R"({ "bay": 15 })", kappa, "the module in bay 15 is listed twice"},
        {R"("port": 16,)", R"("port": 17,)", kappa,
         "\"port\" of entry 1 of \"dmxPorts\" of the module in bay 15 is 17"},
        {R"("universe": 127)",
         R"("universe": 127 }, )"
         R"({ "port": 16, "mode": "disabled", "protocol": null, "universe": null)",
         kappa, "DMX port 16 of the module in bay 15 is listed twice"},
        {R"("universe": 127)", R"("universe": 128)", kappa,
         "\"universe\" of DMX port 16 of the module in bay 15 is 128, outside Shownet's 0 to 127"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
        ExpectRefused(Replaced(kRig, c.from, c.to), c.entry, c.field);
    }
}

TEST(RigJson, TheUsersExampleReads)
{
    std::ifstream file(RIGWISE_DOCS_DIR "/rig-file.md");
    std::stringstream page;
    page << file.rdbuf();
    const std::string text = page.str();
    const size_t start = text.find("```json\n");
    const size_t end = text.find("\n```", start);
    ASSERT_NE(end, std::string::npos);
    exRigDocument read;
    wxString problem;
    ASSERT_TRUE(exRigJson::Read(text.substr(start + 8, end - start - 8), read, problem)) << problem;
    ASSERT_EQ(read.devices.size(), 3u);
    EXPECT_EQ(read.devices[1].switchPorts[1].loopPartner, 3);
    EXPECT_EQ(read.devices[2].modules.at(0).bay, 4);
}

TEST(RigJson, AnEntryOnDhcpMayHoldNoAddress)
{
    // A device waiting for its server reports address and mask 0.0.0.0, and is saved so.
    std::string text = Replaced(kRig, R"("ip": "10.201.0.20")", R"("ip": "0.0.0.0")");
    text = Replaced(text, "\"255.255.0.0\"", "\"0.0.0.0\"");
    exRigDocument read;
    wxString problem;
    ASSERT_TRUE(exRigJson::Read(text, read, problem)) << problem;
    exRigDocument expected = ExpectedRig();
    expected.devices[1].ip = 0;
    expected.devices[1].mask = 0;
    ExpectSameDocument(read, expected);
}
