#pragma once

#include <string>
#include <vector>

#include "device.h"

// The rack the simulator plays: read from a JSON file or generated from the command line.
namespace sim {

struct DeviceList {
    std::vector<Device> devices;
    int dropPercent = 0;
    int delayMs = 0;
    int jitterMs = 0;
};

// Fills `list` from JSON text; false with a message in `error` on anything it cannot use.
bool ParseDeviceList(const std::string& json, DeviceList& list, std::string& error);

// `count` devices cycling through every model code (or all of `model`, when given), numbered
// from 1, with consecutive addresses from `first` (addresses ending in .0 or .255 are skipped).
std::vector<Device> GenerateDevices(int count, uint32_t first, uint32_t mask,
                                    const ModelInfo* model = nullptr);

// Default MAC address of the n-th device: locally administered, so it clashes with no maker's.
std::array<uint8_t, 6> DefaultMac(uint32_t n);

} // namespace sim
