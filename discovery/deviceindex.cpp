#include "discovery/deviceindex.h"

#include "common/controls/canvascontrol.h"
#include "devices/basenode.h"

namespace {

uint32_t Key(uint16_t modelCode, uint16_t unitNumber)
{
    return uint32_t(modelCode) << 16 | unitNumber;
}

// A module in a switch's bay has no key of its own (its model code and unit number stay 0):
// no discovery reply is ever its.
bool HasKey(const exBaseNode* device, uint16_t modelCode, uint16_t unitNumber)
{
    return !device->host && device->network.modelCode == modelCode &&
           device->network.unitNumber == unitNumber;
}

// The first device of the rack, hidden ones included, that `fits`.
template <class Predicate> exBaseNode* FirstThat(const exCanvasControlList& devices, Predicate fits)
{
    for (exCanvasControl* child : devices) {
        exBaseNode* device = static_cast<exBaseNode*>(child);
        if (fits(device))
            return device;
    }
    return nullptr;
}

} // namespace

exBaseNode* exDeviceIndex::ScanByKey(const exCanvasControlList& devices, uint16_t modelCode,
                                     uint16_t unitNumber)
{
    return FirstThat(
        devices, [&](const exBaseNode* device) { return HasKey(device, modelCode, unitNumber); });
}

exBaseNode* exDeviceIndex::ScanByIp(const exCanvasControlList& devices, uint32_t ip)
{
    return FirstThat(devices,
                     [ip](const exBaseNode* device) { return device->network.currentIp == ip; });
}

exBaseNode* exDeviceIndex::FindByKey(const exCanvasControlList& devices, uint16_t modelCode,
                                     uint16_t unitNumber)
{
    ForgetIfChanged(devices);
    const uint32_t key = Key(modelCode, unitNumber);
    const auto known = byKey.find(key);
    if (known != byKey.end() && HasKey(known->second, modelCode, unitNumber))
        return known->second;
    exBaseNode* device = ScanByKey(devices, modelCode, unitNumber);
    if (device)
        byKey[key] = device;
    return device;
}

exBaseNode* exDeviceIndex::FindByIp(const exCanvasControlList& devices, uint32_t ip)
{
    ForgetIfChanged(devices);
    const auto known = byIp.find(ip);
    if (known != byIp.end() && known->second->network.currentIp == ip)
        return known->second;
    exBaseNode* device = ScanByIp(devices, ip);
    if (device)
        byIp[ip] = device;
    return device;
}

void exDeviceIndex::AddressTaken(uint32_t ip)
{
    byIp.erase(ip);
}

void exDeviceIndex::Forget()
{
    byKey.clear();
    byIp.clear();
}

void exDeviceIndex::ForgetIfChanged(const exCanvasControlList& devices)
{
    if (list == &devices && listVersion == devices.Version())
        return;
    Forget();
    list = &devices;
    listVersion = devices.Version();
}
