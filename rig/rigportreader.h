#pragma once

#include <vector>

#include <nlohmann/json.hpp>

#include "rig/rigdevice.h"
#include "rig/rigfields.h"

// The port lists of one device entry (or of one module in a bay), each port checked against
// what the model offers; refusals as exRigFields throws them.
class exRigPortReader {
public:
    // `owner` is the object that holds the "dmxPorts" list; `module` names the bay ("the module
    // in bay 4"), empty for the device's own ports. An "output" on a port that cannot output is
    // read as it stands: devices report such ports so, and a saved rig must read back; loading
    // leaves such a value alone.
    static std::vector<exRigDmxPort> DmxPorts(const exRigFields& owner, int count,
                                              const wxString& module);
    static std::vector<exRigSwitchPort> SwitchPorts(const exRigFields& device, int count);

private:
    static exRigDmxPort DmxPort(const exRigFields& port, int number);
    static exRigSwitchPort SwitchPort(const exRigFields& port, int number);
    static void CheckLoops(const std::vector<exRigSwitchPort>& ports,
                           const std::vector<exRigFields>& fields);
    // The entry's "port", within 1..count and not seen before in this list.
    static int Number(const exRigFields& entry, int count, std::vector<bool>& seen,
                      const wxString& name, const wxString& module);
    static exRigFields Entry(const exRigFields& owner, const char* key, const nlohmann::json& entry,
                             size_t index, const wxString& module);
};
