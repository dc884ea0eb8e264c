#include "rig/rigjson.h"

#include <map>
#include <utility>

#include <nlohmann/json.hpp>

#include "net/ipv4.h"
#include "net/universecode.h"
#include "rig/rigdevicereader.h"
#include "rig/rigfields.h"
#include "rig/rignames.h"
#include "rig/rigparser.h"
#include "rig/rigtext.h"

namespace {

using Ordered = nlohmann::ordered_json;

constexpr int kLoopMode = 2;
constexpr size_t kMostVersionDigits = 6;

Ordered Word(const exRigNames::Table& table, int code)
{
    const char* word = exRigNames::WordOf(table, code);
    return word ? Ordered(word) : Ordered(code);
}

Ordered DmxPorts(const std::vector<exRigDmxPort>& ports)
{
    Ordered list = Ordered::array();
    for (const exRigDmxPort& port : ports) {
        const bool noProtocol = port.protocol == exUniverseCode::kNotSet;
        list.push_back(
            {{"port", port.number},
             {"mode", Word(exRigNames::DmxModes(), port.mode)},
             {"protocol", noProtocol ? Ordered() : Word(exRigNames::Protocols(), port.protocol)},
             {"universe", noProtocol ? Ordered() : Ordered(port.universe)}});
    }
    return list;
}

Ordered SwitchPorts(const std::vector<exRigSwitchPort>& ports)
{
    Ordered list = Ordered::array();
    for (const exRigSwitchPort& port : ports) {
        const bool loop = port.mode == kLoopMode && port.loopPartner != 0;
        Ordered entry = {{"port", port.number},
                         {"mode", loop ? Ordered(exRigNames::kLoopWord)
                                       : Word(exRigNames::SwitchModes(), port.mode)},
                         {"speed", Word(exRigNames::SwitchSpeeds(), port.speed)},
                         {"vlan", port.vlan}};
        if (loop)
            entry["loopPartner"] = port.loopPartner;
        list.push_back(std::move(entry));
    }
    return list;
}

Ordered Modules(const std::vector<exRigModule>& modules)
{
    Ordered list = Ordered::array();
    for (const exRigModule& module : modules)
        list.push_back({{"bay", module.bay}, {"dmxPorts", DmxPorts(module.dmxPorts)}});
    return list;
}

Ordered DisplayTimeout(int code)
{
    return code == exRigDevice::kNoDisplayTimeout ? Ordered()
                                                  : Word(exRigNames::DisplayTimeouts(), code);
}

Ordered Device(const exRigDevice& device)
{
    return {{"modelCode", exRigText::FormatModelCode(device.modelCode)},
            {"modelName", device.modelName},
            {"unit", device.unitNumber},
            {"mac", exRigText::FormatMac(device.mac)},
            {"name", device.name},
            {"ip", FormatIpAddress(device.ip).utf8_string()},
            {"mask", FormatIpAddress(device.mask).utf8_string()},
            {"dhcp", device.dhcp},
            {"displayTimeout", DisplayTimeout(device.displayTimeout)},
            {"lock", device.locked},
            {"dmxPorts", DmxPorts(device.dmxPorts)},
            {"switchPorts", SwitchPorts(device.switchPorts)},
            {"modules", Modules(device.modules)}};
}

// "MAJOR.MINOR", each a run of digits.
bool ParseVersion(const std::string& text, int& major)
{
    const size_t dot = text.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == text.size() ||
        dot > kMostVersionDigits || text.size() - dot - 1 > kMostVersionDigits)
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (i != dot && (text[i] < '0' || text[i] > '9'))
            return false;
    major = std::stoi(text.substr(0, dot));
    return true;
}

void CheckHeader(const exRigFields& top, const nlohmann::json& root)
{
    const std::string format = top.String("format");
    if (format != exRigDocument::kFormatName)
        top.Refuse("format", wxString::Format("is %s, not \"%s\": this is not a rig file",
                                              exRigFields::Echo(root.at("format")),
                                              exRigDocument::kFormatName));
    const std::string version = top.String("version");
    const wxString echo = exRigFields::Echo(root.at("version"));
    int major = 0;
    if (!ParseVersion(version, major))
        top.Refuse("version", wxString::Format("is %s, not a version such as \"1.0\"", echo));
    if (major != exRigDocument::kMajorVersion)
        top.Refuse("version", wxString::Format("is %s, but this program reads only versions "
                                               "%d.x",
                                               echo, exRigDocument::kMajorVersion));
}

exRigDocument ReadDocument(const std::string& text)
{
    const nlohmann::json root = exRigParser::Parse(text);
    exRigFields::RequireObject(root, "The rig file's top level");
    const exRigFields top(root, "The rig file");
    CheckHeader(top, root);
    exRigDocument document;
    top.OptionalString("program", document.programVersion);
    top.OptionalString("saved", document.savedAt);
    const nlohmann::json& devices = top.Array("devices");
    std::map<std::pair<uint16_t, uint16_t>, size_t> seen;
    for (size_t i = 0; i < devices.size(); ++i) {
        exRigDevice device = exRigDeviceReader::Read(devices[i], int(i));
        const auto [earlier, first] = seen.insert({{device.modelCode, device.unitNumber}, i});
        if (!first)
            exRigFields::RefuseWith(wxString::Format(
                "%s has the same \"modelCode\" and \"unit\" as device %zu; a device may be "
                "listed only once.",
                exRigDeviceReader::Label(devices[i], int(i)), earlier->second + 1));
        document.devices.push_back(std::move(device));
    }
    return document;
}

} // namespace

std::string exRigJson::Write(const exRigDocument& document)
{
    Ordered root = {
        {"format", exRigDocument::kFormatName},
        {"version", std::to_string(exRigDocument::kMajorVersion) + "." +
                        std::to_string(exRigDocument::kMinorVersion)},
        {"program", document.programVersion},
        {"saved", document.savedAt},
        {"devices", Ordered::array()},
    };
    for (const exRigDevice& device : document.devices)
        root["devices"].push_back(Device(device));
    // A name is UTF-8 from the devices' lenient decoding; should one hold a stray byte anyway,
    // it is replaced rather than the whole save failing.
    return root.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

bool exRigJson::Read(const std::string& text, exRigDocument& document, wxString& problem)
{
    try {
        document = ReadDocument(text);
        return true;
    } catch (const exRigFields::Refusal& refusal) {
        problem = refusal.problem;
    } catch (const std::exception& error) {
        problem = wxString::Format("The rig file could not be read: %s.", error.what());
    }
    return false;
}
