#include "rig/rigdevice.h"

#include <tuple>

bool exRigDmxPort::operator==(const exRigDmxPort& other) const
{
    return std::tie(number, mode, protocol, universe) ==
           std::tie(other.number, other.mode, other.protocol, other.universe);
}

bool exRigSwitchPort::operator==(const exRigSwitchPort& other) const
{
    return std::tie(number, mode, speed, vlan, loopPartner) ==
           std::tie(other.number, other.mode, other.speed, other.vlan, other.loopPartner);
}

bool exRigModule::operator==(const exRigModule& other) const
{
    return bay == other.bay && dmxPorts == other.dmxPorts;
}

bool exRigDevice::operator==(const exRigDevice& other) const
{
    return std::tie(modelCode, modelName, unitNumber, mac, name, ip, mask, dhcp, displayTimeout,
                    locked, dmxPorts, switchPorts, modules) ==
           std::tie(other.modelCode, other.modelName, other.unitNumber, other.mac, other.name,
                    other.ip, other.mask, other.dhcp, other.displayTimeout, other.locked,
                    other.dmxPorts, other.switchPorts, other.modules);
}
