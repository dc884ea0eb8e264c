#include "rig/rigportreader.h"

#include <climits>

#include "net/universecode.h"
#include "rig/rignames.h"

namespace {

constexpr int kLowestVlan = 1;
constexpr int kHighestVlan = 4094;
constexpr int kLoopMode = 2;
constexpr int kHighestUniverseCode = 0xFFFF;

wxString OfModule(const wxString& module)
{
    return module.empty() ? wxString() : " of " + module;
}

// "Art-Net's 0 to 255", from the ranges exUniverseCode keeps.
wxString UniverseRange(int protocol)
{
    int lowest = 0;
    while (lowest < kHighestUniverseCode && !exUniverseCode::InRange(protocol, lowest))
        ++lowest;
    int highest = lowest;
    while (highest < kHighestUniverseCode && exUniverseCode::InRange(protocol, highest + 1))
        ++highest;
    return wxString::Format("%s's %d to %d", exRigNames::ProtocolTitle(protocol), lowest, highest);
}

} // namespace

std::vector<exRigDmxPort> exRigPortReader::DmxPorts(const exRigFields& owner, int count,
                                                    const wxString& module)
{
    const nlohmann::json& list = owner.Array("dmxPorts");
    std::vector<bool> seen(size_t(count) + 1, false);
    std::vector<exRigDmxPort> ports;
    for (size_t i = 0; i < list.size(); ++i) {
        const exRigFields entry = Entry(owner, "dmxPorts", list[i], i, module);
        const int number = Number(entry, count, seen, "DMX port", module);
        const exRigFields port(list[i], owner.Where(),
                               wxString::Format("DMX port %d", number) + OfModule(module));
        ports.push_back(DmxPort(port, number));
    }
    return ports;
}

exRigDmxPort exRigPortReader::DmxPort(const exRigFields& port, int number)
{
    exRigDmxPort read;
    read.number = number;
    read.mode = port.Word("mode", exRigNames::DmxModes());
    read.protocol = port.WordOrNull("protocol", exRigNames::Protocols(), exUniverseCode::kNotSet);
    if (read.protocol == exUniverseCode::kNotSet) {
        if (!port.IsNull("universe"))
            port.Refuse("universe", port.Has("universe")
                                        ? "must be null, as the port has no protocol"
                                        : "is missing");
        return read;
    }
    if (port.IsNull("universe"))
        port.Refuse("universe", "is null, but a port with a protocol needs a universe");
    const long long universe = port.Integer("universe");
    if (universe < INT_MIN || universe > INT_MAX ||
        !exUniverseCode::InRange(read.protocol, int(universe)))
        port.Refuse("universe", wxString::Format("is %lld, outside %s", universe,
                                                 UniverseRange(read.protocol)));
    read.universe = int(universe);
    return read;
}

std::vector<exRigSwitchPort> exRigPortReader::SwitchPorts(const exRigFields& device, int count)
{
    const nlohmann::json& list = device.Array("switchPorts");
    std::vector<bool> seen(size_t(count) + 1, false);
    std::vector<exRigSwitchPort> ports;
    std::vector<exRigFields> fields;
    for (size_t i = 0; i < list.size(); ++i) {
        const exRigFields entry = Entry(device, "switchPorts", list[i], i, wxString());
        const int number = Number(entry, count, seen, "switch port", wxString());
        fields.emplace_back(list[i], device.Where(), wxString::Format("switch port %d", number));
        ports.push_back(SwitchPort(fields.back(), number));
    }
    CheckLoops(ports, fields);
    return ports;
}

exRigSwitchPort exRigPortReader::SwitchPort(const exRigFields& port, int number)
{
    exRigSwitchPort read;
    read.number = number;
    read.mode = port.Word("mode", exRigNames::SwitchModes());
    read.speed = port.Word("speed", exRigNames::SwitchSpeeds());
    read.vlan = port.IntegerIn("vlan", kLowestVlan, kHighestVlan);
    const std::string mode = port.String("mode");
    if (mode != exRigNames::kLoopWord) {
        if (port.Has("loopPartner"))
            port.Refuse("loopPartner", wxString::Format("belongs only to a \"loop\" port, and "
                                                        "this one is \"%s\"",
                                                        wxString::FromUTF8(mode)));
        return read;
    }
    if (!port.Has("loopPartner"))
        port.Refuse("loopPartner", "is missing, and a \"loop\" port needs its partner");
    const long long partner = port.Integer("loopPartner");
    read.loopPartner = partner < 1 || partner > INT_MAX ? -1 : int(partner);
    if (read.loopPartner == number)
        port.Refuse("loopPartner", wxString::Format("is %d, the port itself", number));
    return read;
}

// Loop partners pair both ways: port 2 looped to 3 needs port 3 looped to 2.
void exRigPortReader::CheckLoops(const std::vector<exRigSwitchPort>& ports,
                                 const std::vector<exRigFields>& fields)
{
    for (size_t i = 0; i < ports.size(); ++i) {
        const exRigSwitchPort& port = ports[i];
        if (port.mode != kLoopMode || port.loopPartner == 0)
            continue;
        const exRigSwitchPort* partner = nullptr;
        for (const exRigSwitchPort& other : ports)
            if (other.number == port.loopPartner)
                partner = &other;
        const wxString echo = exRigFields::Echo(fields[i].Value("loopPartner"));
        if (!partner)
            fields[i].Refuse(
                "loopPartner",
                wxString::Format("is %s, a port this device entry does not list", echo));
        if (partner->mode != kLoopMode || partner->loopPartner != port.number)
            fields[i].Refuse("loopPartner",
                             wxString::Format("is %s, but switch port %s is not a \"loop\" "
                                              "back to port %d",
                                              echo, echo, port.number));
    }
}

int exRigPortReader::Number(const exRigFields& entry, int count, std::vector<bool>& seen,
                            const wxString& name, const wxString& module)
{
    if (count == 0)
        entry.Refuse("port", wxString::Format("names a %s, but this model has none", name));
    const int number = entry.IntegerIn("port", 1, count);
    if (seen[number])
        exRigFields::RefuseWith(wxString::Format("%s: %s %d%s is listed twice.", entry.Where(),
                                                 name, number, OfModule(module)));
    seen[number] = true;
    return number;
}

exRigFields exRigPortReader::Entry(const exRigFields& owner, const char* key,
                                   const nlohmann::json& entry, size_t index,
                                   const wxString& module)
{
    const wxString subject =
        wxString::Format("entry %zu of \"%s\"", index + 1, key) + OfModule(module);
    exRigFields::RequireObject(entry, owner.Where() + ": " + subject);
    return exRigFields(entry, owner.Where(), subject);
}
