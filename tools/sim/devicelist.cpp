#include "devicelist.h"

#include <cstdio>
#include <set>
#include <stdexcept>

#include <nlohmann/json.hpp>

namespace sim {

namespace {

using nlohmann::json;

// Numbers may be written as JSON numbers or as text ("0x0108"), as model codes usually are.
long Number(const json& value, const char* field)
{
    if (value.is_number_integer())
        return value.get<long>();
    if (value.is_string()) {
        const std::string text = value.get<std::string>();
        size_t used = 0;
        const long parsed = std::stol(text, &used, 0);
        if (used == text.size())
            return parsed;
    }
    throw std::runtime_error(std::string("\"") + field + "\" is not a number");
}

long NumberOr(const json& object, const char* field, long fallback)
{
    return object.contains(field) ? Number(object[field], field) : fallback;
}

uint32_t Address(const json& object, const char* field, uint32_t fallback)
{
    if (!object.contains(field))
        return fallback;
    uint32_t address = 0;
    if (!object[field].is_string() || !ParseAddress(object[field].get<std::string>(), address))
        throw std::runtime_error(std::string("\"") + field + "\" is not an IPv4 address");
    return address;
}

uint8_t PortMode(const json& value)
{
    if (value.is_string()) {
        const std::string text = value.get<std::string>();
        if (text == "disabled")
            return kDisabled;
        if (text == "input")
            return kInput;
        if (text == "output")
            return kOutput;
    }
    return uint8_t(Number(value, "mode"));
}

DmxPort ParsePort(const json& object)
{
    DmxPort port;
    if (object.contains("mode"))
        port.mode = PortMode(object["mode"]);
    port.universe = uint16_t(NumberOr(object, "universe", port.universe));
    port.value = uint32_t(NumberOr(object, "value", port.value));
    return port;
}

std::array<uint8_t, 6> ParseMac(const std::string& text)
{
    std::array<uint8_t, 6> mac{};
    unsigned parts[6];
    if (std::sscanf(text.c_str(), "%x:%x:%x:%x:%x:%x", &parts[0], &parts[1], &parts[2], &parts[3],
                    &parts[4], &parts[5]) != 6)
        throw std::runtime_error("\"mac\" is not a MAC address");
    for (size_t i = 0; i < 6; ++i)
        mac[i] = uint8_t(parts[i]);
    return mac;
}

// Front-panel changes made at their time: {"afterMs": 3000, "name": "Stage Right"},
// {"afterMs": 3000, "port": 2, "mode": "output", "universe": "0x0201"},
// {"afterMs": 3000, "switchPort": 4, "speed": 2}; one entry may hold several.
void ParsePanelChanges(const json& changes, Device& device)
{
    if (!changes.is_array())
        throw std::runtime_error("\"panelChanges\" is a list of changes");
    for (const json& entry : changes) {
        PanelChange change;
        change.atMs = NumberOr(entry, "afterMs", 0);
        if (change.atMs < 0)
            throw std::runtime_error("a front-panel change's \"afterMs\" is 0 or more");
        if (entry.contains("name")) {
            if (!entry["name"].is_string())
                throw std::runtime_error("a front-panel change's \"name\" is text");
            change.rename = true;
            change.name = entry["name"].get<std::string>();
        }
        if (entry.contains("port")) {
            change.dmxPort = int(Number(entry["port"], "port"));
            if (change.dmxPort < 0)
                throw std::runtime_error("a front-panel change's \"port\" is a wire number");
            if (entry.contains("mode"))
                change.mode = PortMode(entry["mode"]);
            change.universe = int(NumberOr(entry, "universe", -1));
            if (change.mode < 0 && change.universe < 0)
                throw std::runtime_error("a front-panel port change sets \"mode\" or \"universe\"");
        }
        if (entry.contains("switchPort")) {
            change.switchPort = int(Number(entry["switchPort"], "switchPort"));
            change.speed = int(NumberOr(entry, "speed", -1));
        }
        if (!change.rename && change.dmxPort < 0 && change.switchPort == 0)
            throw std::runtime_error("a front-panel change sets \"name\", \"port\" or "
                                     "\"switchPort\"");
        // Checked on a copy now, so that a change that cannot be made is refused at the start.
        Device trial = device;
        std::string error;
        if (!ApplyPanelChange(trial, change, error))
            throw std::runtime_error("front-panel change: " + error);
        device.panelChanges.push_back(change);
    }
}

// How the device misbehaves for tests: stopped, lost, late, answering twice or badly, slow,
// changed on its front panel.
void ParseBehaviour(const json& object, Device& device)
{
    device.stopped = object.value("stopped", false);
    device.stopAtMs = NumberOr(object, "lostAfterMs", -1);
    device.delayMs = int(NumberOr(object, "delayMs", -1));
    device.answerTwice = object.value("answerTwice", false);
    if (object.contains("spoilNext") &&
        (!object["spoilNext"].is_string() ||
         !ParseSpoil(object["spoilNext"].get<std::string>(), device.spoilNext)))
        throw std::runtime_error("\"spoilNext\" is \"short\", \"mode\" or \"none\"");
    if (object.contains("ignoreFirst")) {
        const json& ignore = object["ignoreFirst"];
        if (!ignore.is_object())
            throw std::runtime_error("\"ignoreFirst\" maps request kinds to counts");
        for (const auto& item : ignore.items()) {
            Request request = Request::None;
            if (!ParseRequest(item.key(), request))
                throw std::runtime_error("\"ignoreFirst\": no request kind \"" + item.key() + "\"");
            const long count = Number(item.value(), "ignoreFirst");
            if (count < 0)
                throw std::runtime_error("\"ignoreFirst\" counts are 0 or more");
            device.ignoreFirst[size_t(request)] = int(count);
        }
    }
    device.dropPercent = int(NumberOr(object, "dropPercent", -1));
    if (device.dropPercent < -1 || device.dropPercent > 100)
        throw std::runtime_error("\"dropPercent\" is 0 to 100");
    device.jitterMs = int(NumberOr(object, "jitterMs", -1));
    if (device.jitterMs < -1)
        throw std::runtime_error("\"jitterMs\" is 0 or more");
    const long pauseForMs = NumberOr(object, "pauseForMs", 0);
    const long pauseAfterMs = NumberOr(object, "pauseAfterMs", 0);
    if (pauseForMs < 0 || pauseAfterMs < 0)
        throw std::runtime_error("\"pauseForMs\" and \"pauseAfterMs\" are 0 or more");
    if (pauseForMs > 0) {
        device.pauseFromMs = pauseAfterMs;
        device.pauseUntilMs = pauseAfterMs + pauseForMs;
    }
    if (object.contains("panelChanges"))
        ParsePanelChanges(object["panelChanges"], device);
}

Device ParseDevice(const json& object, size_t index)
{
    const uint16_t code = uint16_t(Number(object.at("model"), "model"));
    const ModelInfo* model = FindModel(code);
    if (!model)
        throw std::runtime_error("unknown model code " + std::to_string(code));
    Device device = MakeDevice(*model, code);
    device.unit = uint16_t(NumberOr(object, "unit", long(index + 1)));
    device.ip = Address(object, "ip", 0);
    if (device.ip == 0)
        throw std::runtime_error("every device needs the address it answers from (\"ip\")");
    device.mask = Address(object, "mask", 0xFFFFFF00u);
    device.dhcp = object.value("dhcp", false);
    device.mac = object.contains("mac") ? ParseMac(object["mac"].get<std::string>())
                                        : DefaultMac(uint32_t(index));
    device.name =
        object.value("name", std::string(model->title) + " " + std::to_string(device.unit));
    device.line2 = object.value("line2", device.line2);
    device.longName = object.value("longName", std::string());
    device.locked = object.value("locked", false);
    device.displayTimeout = uint8_t(NumberOr(object, "displayTimeout", device.displayTimeout));
    device.optionA = uint8_t(NumberOr(object, "optionA", 0));
    device.optionB = uint8_t(NumberOr(object, "optionB", 0));
    device.id = int(NumberOr(object, "id", device.unit % 1000));
    device.answersArtNet = object.value("artNet", device.answersArtNet);

    if (object.contains("ports")) {
        const json& ports = object["ports"];
        for (size_t i = 0; i < ports.size() && i < device.ports.size(); ++i)
            device.ports[i] = ParsePort(ports[i]);
    }
    if (device.IsKappa()) {
        const long count = NumberOr(object, "switchPortCount", long(device.switchPorts.size()));
        if (count != 10 && count != 18)
            throw std::runtime_error("a SwitchKappa has 10 or 18 switch ports");
        device.switchPorts.resize(size_t(count));
    }
    if (object.contains("switchPorts")) {
        const json& ports = object["switchPorts"];
        for (size_t i = 0; i < ports.size() && i < device.switchPorts.size(); ++i) {
            SwitchPort& port = device.switchPorts[i];
            port.mode = uint8_t(NumberOr(ports[i], "mode", port.mode));
            port.speed = uint8_t(NumberOr(ports[i], "speed", port.speed));
            port.value = uint16_t(NumberOr(ports[i], "value", port.value));
        }
    }
    device.switchWord = uint16_t(NumberOr(object, "switchWord", device.switchWord));
    device.switchByteA = uint8_t(NumberOr(object, "switchByteA", 0));
    device.switchByteB = uint8_t(NumberOr(object, "switchByteB", 0));
    if (object.contains("modules")) {
        if (!device.IsKappa())
            throw std::runtime_error("only a SwitchKappa holds modules");
        for (const json& module : object["modules"]) {
            const long bay = Number(module.at("bay"), "bay");
            if (bay < 1 || bay > kBayCount)
                throw std::runtime_error("module bays are 1 to 15");
            std::vector<DmxPort>& ports = device.bays[size_t(bay)];
            const json& given = module.at("ports");
            if (given.is_array()) {
                for (const json& port : given)
                    ports.push_back(ParsePort(port));
            } else {
                ports.resize(size_t(Number(given, "ports")));
            }
            if (ports.empty() || ports.size() > 15)
                throw std::runtime_error("a module has 1 to 15 DMX ports");
        }
    }
    ParseBehaviour(object, device);
    return device;
}

} // namespace

std::array<uint8_t, 6> DefaultMac(uint32_t n)
{
    return {0x02, 0x52, 0x57, uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)};
}

bool ParseDeviceList(const std::string& text, DeviceList& list, std::string& error)
{
    try {
        const json document = json::parse(text);
        const json& devices = document.is_array() ? document : document.at("devices");
        if (document.is_object()) {
            list.dropPercent = int(NumberOr(document, "dropPercent", 0));
            list.delayMs = int(NumberOr(document, "delayMs", 0));
            list.jitterMs = int(NumberOr(document, "jitterMs", 0));
        }
        std::set<uint32_t> addresses;
        for (size_t i = 0; i < devices.size(); ++i) {
            list.devices.push_back(ParseDevice(devices[i], i));
            // Two sockets on one address and port would split the datagrams between them.
            if (!addresses.insert(list.devices.back().ip).second)
                throw std::runtime_error("two devices share the address " +
                                         AddressText(list.devices.back().ip));
        }
    } catch (const std::exception& problem) {
        error = problem.what();
        return false;
    }
    return true;
}

std::vector<Device> GenerateDevices(int count, uint32_t first, uint32_t mask, const ModelInfo* only)
{
    std::vector<Device> devices;
    const std::vector<ModelInfo>& models = AllModels();
    uint32_t address = first;
    for (int i = 0; i < count; ++i) {
        while ((address & 0xFF) == 0 || (address & 0xFF) == 0xFF)
            ++address;
        const ModelInfo& model = only ? *only : models[size_t(i) % models.size()];
        Device device = MakeDevice(model, model.code);
        device.unit = uint16_t(i + 1);
        device.ip = address++;
        device.mask = mask;
        device.mac = DefaultMac(uint32_t(i));
        device.name = std::string(model.title) + " " + std::to_string(device.unit);
        device.id = device.unit % 1000;
        devices.push_back(device);
    }
    return devices;
}

} // namespace sim
