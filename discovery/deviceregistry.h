#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include <wx/string.h>

class exBaseNode;
class exCanvasControl;
class exDeviceRack;
struct exDiscoveryReply;

// The detected devices are the children of the rack's root control, in the order they were
// found; nothing else holds them. This finds them by key or address, creates them from discovery
// replies and stores what Art-Net tells about them.
class exDeviceRegistry {
public:
    // `root` is the rack's root control, or a plain one (tests): devices are then found and
    // created but not laid out.
    explicit exDeviceRegistry(exCanvasControl* root);

    // The first device, hidden ones included, with this model code and unit number.
    exBaseNode* FindByKey(uint16_t modelCode, uint16_t unitNumber) const;
    // The first device, hidden ones included, whose current address is `ip`.
    exBaseNode* FindByIp(uint32_t ip) const;
    // Every device found, also one that is drawn only once it has been read.
    int CountDevices() const;
    // "1 Item Detected" or "n Items Detected".
    static wxString StatusText(int count);

    // A discovery reply: creates the device when it is new, keeps it present and its address
    // current. Returns the device, or null when the datagram was dropped.
    exBaseNode* HandleDiscoveryReply(const uint8_t* data, size_t length, uint32_t senderIp);
    // A Kivnet datagram: handed to the device that has the sender's address. Kivnet never
    // creates a device. Returns it, or null when the datagram was dropped.
    exBaseNode* HandleKivnetReply(const uint8_t* data, size_t length, uint32_t senderIp);
    // An ArtPollReply: the sender's device learns its ID. Returns it, or null when dropped.
    exBaseNode* HandleArtNetReply(const uint8_t* data, size_t length, uint32_t senderIp);

    // Shows the status line text when a device has been added.
    std::function<void(const wxString&)> showStatus;

private:
    // The network identity of an existing device, as a discovery reply gives it; true when
    // anything drawn changed.
    bool StoreIdentity(exBaseNode* device, const exDiscoveryReply& reply, uint32_t senderIp);

    exCanvasControl* root;
    // The rack the root is, with its index; null for a plain root, whose list is walked.
    exDeviceRack* rack;
};
