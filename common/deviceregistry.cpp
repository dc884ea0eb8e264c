#include "common/deviceregistry.h"

#include "common/controls/canvascontrol.h"
#include "common/rackpanel.h"
#include "devices/basenode.h"
#include "devices/ethernetport.h"
#include "devices/modelcatalogue.h"
#include "net/artnetprotocol.h"
#include "net/updateprotocol.h"

exDeviceRegistry::exDeviceRegistry(exCanvasControl* root, exRackPanel* rack)
    : root(root), rack(rack)
{
}

exBaseNode* exDeviceRegistry::FindByKey(uint16_t modelCode, uint16_t unitNumber) const
{
    for (exCanvasControl* child : *root->children) {
        exBaseNode* device = static_cast<exBaseNode*>(child);
        if (device->network.modelCode == modelCode && device->network.unitNumber == unitNumber)
            return device;
    }
    return nullptr;
}

exBaseNode* exDeviceRegistry::FindByIp(uint32_t ip) const
{
    for (exCanvasControl* child : *root->children) {
        exBaseNode* device = static_cast<exBaseNode*>(child);
        if (device->network.currentIp == ip)
            return device;
    }
    return nullptr;
}

int exDeviceRegistry::CountVisible() const
{
    int count = 0;
    for (exCanvasControl* child : *root->children)
        if (!child->hidden)
            ++count;
    return count;
}

wxString exDeviceRegistry::StatusText(int count)
{
    return count == 1 ? wxString("1 Item Detected") : wxString::Format("%d Items Detected", count);
}

exBaseNode* exDeviceRegistry::HandleDiscoveryReply(const uint8_t* data, size_t length,
                                                   uint32_t senderIp)
{
    exDiscoveryReply reply;
    if (!exUpdateProtocol::ParseDiscoveryReply(data, length, reply))
        return nullptr;
    exBaseNode* device = FindByKey(reply.modelCode, reply.unitNumber);
    const bool isNew = device == nullptr;
    if (isNew) {
        device = exModelCatalogue::Create(reply.modelCode, root);
        if (!device)
            return nullptr;
    }

    const int previousState = device->connectionState;
    device->OnAlive();

    exNetworkSettings& network = device->network;
    network.currentMask = reply.mask;
    // A pending edit of the address is the user's until it has been sent.
    if (!network.networkModified)
        network.newMask = reply.mask;
    // A device waiting for DHCP reports address 0; it is reached where it sent from.
    network.currentDhcp = reply.ip == 0;
    network.currentIp = reply.ip != 0 ? reply.ip : senderIp;
    device->ethernetPort1->RebuildTexts();
    network.modelCode = reply.modelCode;
    network.unitNumber = reply.unitNumber;
    network.mac = reply.mac;

    if (previousState == exBaseNode::kLost && device->connectionState == exBaseNode::kOnline &&
        device->host)
        device->StartRefresh();

    if (isNew) {
        device->deviceName = reply.name;
        device->StartRefresh();
        root->children->Append(device);
        if (rack) {
            rack->PositionDevices();
            rack->Relayout();
        }
        network.newIp = network.currentIp;
        network.newMask = network.currentMask;
        network.newDhcp = network.currentDhcp;
        if (showStatus)
            showStatus(StatusText(CountVisible()));
    }
    device->SetDirty();
    return device;
}

exBaseNode* exDeviceRegistry::HandleArtNetReply(const uint8_t* data, size_t length,
                                                uint32_t senderIp)
{
    wxString longName;
    if (!exArtNetProtocol::ParsePollReply(data, length, longName))
        return nullptr;
    exBaseNode* device = FindByIp(senderIp);
    if (!device)
        return nullptr;
    device->deviceId = exArtNetProtocol::DeviceIdFromLongName(longName);
    if (device->readBackStage == exBaseNode::kPollStage)
        device->readBackStage = exBaseNode::kIdle;
    device->SetDirty();
    return device;
}
