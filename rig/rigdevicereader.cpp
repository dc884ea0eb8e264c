#include "rig/rigdevicereader.h"

#include "net/ipv4.h"
#include "net/kivnetprotocol.h"
#include "rig/rignames.h"
#include "rig/rigportreader.h"
#include "rig/rigtext.h"

namespace {

constexpr int kHighestUnit = 65535;
constexpr unsigned char kDelete = 0x7F;

bool HasControlCharacter(const std::string& text)
{
    for (unsigned char c : text)
        if (c < 0x20 || c == kDelete)
            return true;
    return false;
}

} // namespace

exRigDeviceReader::exRigDeviceReader(const nlohmann::json& entry, int index)
    : entry(entry), index(index), label(wxString::Format("Device %d", index + 1))
{
}

exRigDevice exRigDeviceReader::Read(const nlohmann::json& entry, int index)
{
    exRigDeviceReader reader(entry, index);
    exRigFields::RequireObject(entry, reader.label);
    reader.ReadIdentity();
    const exRigFields fields(entry, reader.label);
    reader.ReadSettings(fields);
    reader.device.dmxPorts = exRigPortReader::DmxPorts(fields, reader.limits.dmxPorts, {});
    reader.device.switchPorts = exRigPortReader::SwitchPorts(fields, reader.limits.switchPorts);
    reader.ReadModules(fields);
    return reader.device;
}

wxString exRigDeviceReader::Label(const nlohmann::json& entry, int index)
{
    exRigDeviceReader reader(entry, index);
    try {
        if (entry.is_object())
            reader.ReadIdentity();
    } catch (const exRigFields::Refusal&) {
    }
    return reader.label;
}

// Model and unit come first: they name the device in every later message.
void exRigDeviceReader::ReadIdentity()
{
    const exRigFields fields(entry, label);
    const std::string code = fields.String("modelCode");
    if (!exRigText::ParseModelCode(code, device.modelCode))
        fields.Refuse("modelCode", wxString::Format("is %s, not \"0x\" and four hexadecimal digits",
                                                    exRigFields::Echo(entry.at("modelCode"))));
    if (!exRigModels::Limits(device.modelCode, limits))
        fields.Refuse("modelCode", wxString::Format("is %s, no model this program knows",
                                                    exRigFields::Echo(entry.at("modelCode"))));
    device.unitNumber = uint16_t(fields.IntegerIn("unit", 0, kHighestUnit));
    label = wxString::Format("Device %d (%s, unit %d)", index + 1,
                             wxString::FromUTF8(limits.modelName), int(device.unitNumber));
}

void exRigDeviceReader::ReadSettings(const exRigFields& fields)
{
    fields.OptionalString("modelName", device.modelName);
    std::string mac;
    if (fields.OptionalString("mac", mac) && !exRigText::ParseMac(mac, device.mac))
        fields.Refuse("mac", wxString::Format("is %s, not six pairs of hexadecimal digits "
                                              "separated by colons",
                                              exRigFields::Echo(entry.at("mac"))));
    device.name = Name(fields);
    ReadAddresses(fields);
    device.locked = fields.Bool("lock");
    device.displayTimeout = exRigDevice::kNoDisplayTimeout;
    if (fields.Has("displayTimeout"))
        device.displayTimeout = fields.WordOrNull("displayTimeout", exRigNames::DisplayTimeouts(),
                                                  exRigDevice::kNoDisplayTimeout);
}

std::string exRigDeviceReader::Name(const exRigFields& fields) const
{
    const std::string name = fields.String("name");
    if (name.size() > exKivnetProtocol::kNameWidth)
        fields.Refuse("name", wxString::Format("is %s, %zu bytes in UTF-8, longer than the %zu a "
                                               "device name can hold",
                                               exRigFields::Echo(entry.at("name")), name.size(),
                                               exKivnetProtocol::kNameWidth));
    if (HasControlCharacter(name))
        fields.Refuse("name", "holds a control character, which no device shows");
    return name;
}

void exRigDeviceReader::ReadAddresses(const exRigFields& fields)
{
    device.dhcp = fields.Bool("dhcp");
    // Under DHCP the address and mask are only what the device had, and one waiting for its
    // server reports none: 0.0.0.0 is then what was saved.
    device.ip = Address(fields, "ip", device.dhcp);
    device.mask = Address(fields, "mask", device.dhcp);
}

uint32_t exRigDeviceReader::Address(const exRigFields& fields, const char* key,
                                    bool mayBeNone) const
{
    const std::string text = fields.String(key);
    uint32_t address = 0;
    const wxString echo = exRigFields::Echo(entry.at(key));
    if (!ParseIpAddress(wxString::FromUTF8(text), address))
        fields.Refuse(key, wxString::Format("is %s, not four numbers 0 to 255 with dots between "
                                            "them",
                                            echo));
    if (address == 0 && !mayBeNone)
        fields.Refuse(key, wxString::Format("is %s, which no device can use", echo));
    return address;
}

void exRigDeviceReader::ReadModules(const exRigFields& fields)
{
    const nlohmann::json& list = fields.Array("modules");
    if (!list.empty() && limits.bays == 0)
        fields.Refuse("modules", "lists modules, but this model has no bays");
    std::vector<bool> seen(size_t(limits.bays) + 1, false);
    for (size_t i = 0; i < list.size(); ++i)
        device.modules.push_back(ReadModule(list[i], i, seen));
}

exRigModule exRigDeviceReader::ReadModule(const nlohmann::json& module, size_t position,
                                          std::vector<bool>& seen)
{
    const wxString subject = wxString::Format("entry %zu of \"modules\"", position + 1);
    exRigFields::RequireObject(module, label + ": " + subject);
    exRigModule read;
    read.bay = exRigFields(module, label, subject).IntegerIn("bay", 1, limits.bays);
    const wxString inBay = wxString::Format("the module in bay %d", read.bay);
    if (seen[read.bay])
        exRigFields::RefuseWith(label + ": " + inBay + " is listed twice.");
    seen[read.bay] = true;
    read.dmxPorts =
        exRigPortReader::DmxPorts(exRigFields(module, label, inBay), limits.portsPerBay, inBay);
    return read;
}
