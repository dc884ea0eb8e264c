#pragma once

#include "net/kivnetprotocol.h"

class exBaseNode;
class exSwitchPort;

// What the switch models share in reading and writing their switch settings.
namespace exSwitchRecords {

// Creates switch port `index` of the device at a design position, ahead of the front-panel
// element so that the display stays the device's last child.
exSwitchPort* AddPort(exBaseNode* device, int index, int designX, int designY);
// Removes and deletes every switch port of the device.
void RemovePorts(exBaseNode* device);
// Takes the name, lock, time-out, second line and port records of a reply into the device.
void TakeSettings(exBaseNode* device, const exSwitchSettings& settings);
// The device's fields and ports as the switch settings message carries them, and marks them sent
// (the message is about to go out). Only for a switch whose settings have all been read (or
// edited): the message carries every port, and none may go out as a default.
exSwitchSettings CollectForSending(exBaseNode* device);

} // namespace exSwitchRecords
