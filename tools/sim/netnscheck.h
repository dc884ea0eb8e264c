#pragma once

#include <unistd.h>

#include <cstdlib>
#include <string>

// The simulator and its probe answer and send broadcasts: they refuse to run on the machine's
// own network. The scripts that make the private namespaces record the namespace they started
// from in RIGWISE_OUTER_NETNS; ours must be another one.
inline bool InPrivateNetwork()
{
    const char* outer = std::getenv("RIGWISE_OUTER_NETNS");
    char own[64] = {};
    if (!outer || readlink("/proc/self/ns/net", own, sizeof(own) - 1) < 0)
        return false;
    return std::string(own) != outer;
}
