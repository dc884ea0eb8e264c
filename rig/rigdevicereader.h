#pragma once

#include <nlohmann/json.hpp>
#include <wx/string.h>

#include "rig/rigdevice.h"
#include "rig/rigfields.h"
#include "rig/rigmodels.h"

// One device entry of a rig file, checked field by field against what its model offers.
// Refusals are thrown as exRigFields::Refusal.
class exRigDeviceReader {
public:
    // `index` counts from 0; messages count from 1.
    static exRigDevice Read(const nlohmann::json& entry, int index);
    // "Device 3 (Pylon NodeDelta, unit 4660)" when the entry's model and unit read, otherwise
    // "Device 3".
    static wxString Label(const nlohmann::json& entry, int index);

private:
    exRigDeviceReader(const nlohmann::json& entry, int index);

    void ReadIdentity();
    void ReadSettings(const exRigFields& fields);
    void ReadAddresses(const exRigFields& fields);
    void ReadModules(const exRigFields& fields);
    exRigModule ReadModule(const nlohmann::json& entry, size_t position, std::vector<bool>& seen);
    std::string Name(const exRigFields& fields) const;
    // `mayBeNone`: 0.0.0.0 is taken too.
    uint32_t Address(const exRigFields& fields, const char* key, bool mayBeNone) const;

    const nlohmann::json& entry;
    int index;
    wxString label;
    exRigModelLimits limits;
    exRigDevice device;
};
