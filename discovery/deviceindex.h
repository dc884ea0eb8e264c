#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>

class exBaseNode;
class exCanvasControlList;

// Finds the rack's devices by key and by address without walking the rack for every datagram.
// It remembers where a device was found and checks that it still fits before trusting it; what
// it cannot answer it finds by walking the rack, which stays the one place devices are kept.
// It forgets everything when devices are added or moved, and what it knew of an address a
// device moves to, so that with two devices on one address the first in the rack is found.
class exDeviceIndex {
public:
    // The first device, hidden ones included, with this model code and unit number.
    exBaseNode* FindByKey(const exCanvasControlList& devices, uint16_t modelCode,
                          uint16_t unitNumber);
    // The first device, hidden ones included, whose current address is `ip`.
    exBaseNode* FindByIp(const exCanvasControlList& devices, uint32_t ip);
    // A device now answers from `ip`: it may come before the device remembered there.
    void AddressTaken(uint32_t ip);
    void Forget();

    // The same answers, found by walking the rack.
    static exBaseNode* ScanByKey(const exCanvasControlList& devices, uint16_t modelCode,
                                 uint16_t unitNumber);
    static exBaseNode* ScanByIp(const exCanvasControlList& devices, uint32_t ip);

private:
    void ForgetIfChanged(const exCanvasControlList& devices);

    std::unordered_map<uint32_t, exBaseNode*> byKey;
    std::unordered_map<uint32_t, exBaseNode*> byIp;
    const exCanvasControlList* list = nullptr;
    size_t listVersion = 0;
};
