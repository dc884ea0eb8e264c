#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a model offers to be set, as the program's own device of that model has it: how a rig
// file is checked before any device is touched.
struct exRigModelLimits {
    std::string modelName;
    int dmxPorts = 0;
    // The most switch ports a device of the model may report (a large switch has 10 or 18).
    int switchPorts = 0;
    int bays = 0;
    int portsPerBay = 0;
    // Per switch port: true when it can be a trunk, and when its speed can be chosen.
    std::vector<bool> trunkCapable;
    std::vector<bool> speedSelectable;
    // The device settings dialog offers the display time-out, and the lock.
    bool offersDisplayTimeout = false;
    bool offersLock = false;
};

class exRigModels {
public:
    // False for a model code that is no model of ours.
    static bool Limits(uint16_t modelCode, exRigModelLimits& limits);
};
