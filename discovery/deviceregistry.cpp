#include "discovery/deviceregistry.h"

#include "common/controls/canvascontrol.h"
#include "devices/basenode.h"
#include "devices/canvasuicontrol.h"
#include "devices/ethernetport.h"
#include "devices/modelcatalogue.h"
#include "discovery/deviceindex.h"
#include "discovery/devicerack.h"
#include "net/artnetprotocol.h"
#include "net/kivnetprotocol.h"
#include "net/updateprotocol.h"

exDeviceRegistry::exDeviceRegistry(exCanvasControl* root)
    : root(root), rack(dynamic_cast<exDeviceRack*>(root))
{
}

exBaseNode* exDeviceRegistry::FindByKey(uint16_t modelCode, uint16_t unitNumber) const
{
    return rack ? rack->DeviceIndex().FindByKey(*root->children, modelCode, unitNumber)
                : exDeviceIndex::ScanByKey(*root->children, modelCode, unitNumber);
}

exBaseNode* exDeviceRegistry::FindByIp(uint32_t ip) const
{
    return rack ? rack->DeviceIndex().FindByIp(*root->children, ip)
                : exDeviceIndex::ScanByIp(*root->children, ip);
}

int exDeviceRegistry::CountDevices() const
{
    return int(root->children->GetCount());
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
    bool identityChanged = StoreIdentity(device, reply, senderIp);
    // The name follows the device (it may be renamed at its own panel) unless an edit waits.
    if (device->frontPanel->state.TakesReplies() && device->deviceName != reply.name) {
        device->deviceName = reply.name;
        identityChanged = true;
    }

    if (!isNew && previousState == exBaseNode::kLost)
        device->ReadAgain(); // it may have been changed while it was away
    if (isNew) {
        device->StartRefresh();
        root->children->Append(device);
        if (rack)
            rack->Relayout();
        if (showStatus)
            showStatus(StatusText(CountDevices()));
    }
    // Devices answer every second; an answer that changes nothing drawn costs no repaint.
    if (isNew || identityChanged || device->connectionState != previousState)
        device->RepaintIfShown();
    return device;
}

bool exDeviceRegistry::StoreIdentity(exBaseNode* device, const exDiscoveryReply& reply,
                                     uint32_t senderIp)
{
    exNetworkSettings& network = device->network;
    // A device waiting for DHCP reports address 0; it is reached where it sent from.
    const bool dhcp = reply.ip == 0;
    const uint32_t ip = dhcp ? senderIp : reply.ip;
    const bool changed =
        network.currentIp != ip || network.currentMask != reply.mask || network.currentDhcp != dhcp;
    if (network.currentIp != ip && rack)
        rack->DeviceIndex().AddressTaken(ip);
    network.currentMask = reply.mask;
    // A pending edit of the address is the user's until it has been sent; without one, what
    // is sent is what the device has now (it may have been readdressed at its front panel).
    if (network.state.TakesReplies()) {
        network.newIp = ip;
        network.newMask = reply.mask;
        network.newDhcp = dhcp;
    }
    network.currentDhcp = dhcp;
    network.currentIp = ip;
    network.state.Read();
    if (changed || network.ipText.empty())
        device->ethernetPort1->RebuildTexts();
    network.modelCode = reply.modelCode;
    network.unitNumber = reply.unitNumber;
    network.mac = reply.mac;
    return changed;
}

exBaseNode* exDeviceRegistry::HandleKivnetReply(const uint8_t* data, size_t length,
                                                uint32_t senderIp)
{
    exKivnetHeader header;
    exBaseNode* device =
        exKivnetProtocol::ReadHeader(data, length, header) ? FindByIp(senderIp) : nullptr;
    if (device)
        device->HandleReply(data, length);
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
        device->EnterStage(exBaseNode::kIdle);
    device->RepaintIfShown();
    return device;
}
