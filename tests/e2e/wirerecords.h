#pragma once

// What the simulated devices received from the program, picked and waited for, and the settings
// messages the program sends, written out by hand from the message tables.
#include <unistd.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

#include "support/handbytes.h"
#include "support/simnetwork.h"

namespace wirerecords {

inline void SleepMs(int ms)
{
    usleep(useconds_t(ms) * 1000);
}

inline uint16_t Code(const SimNetwork::Record& record)
{
    if (record.bytes.size() < 8)
        return 0;
    // Kivnet carries its code in bytes 6..7, the update port in bytes 4..5.
    if (record.port == 6464)
        return uint16_t(record.bytes[4] << 8 | record.bytes[5]);
    return uint16_t(record.bytes[6] << 8 | record.bytes[7]);
}

inline bool IsDiscoveryRequest(const SimNetwork::Record& record)
{
    return record.port == 6464 && Code(record) == 0x0010;
}

// What the program has sent since record `from` that the predicate picks; waits (bounded)
// until at least `count` such datagrams have arrived.
inline std::vector<SimNetwork::Record> WaitFor(const SimNetwork& network, size_t from, size_t count,
                                        const std::function<bool(const SimNetwork::Record&)>& pick,
                                        int limitMs = 4000)
{
    std::vector<SimNetwork::Record> picked;
    for (int waited = 0; waited <= limitMs; waited += 50) {
        const std::vector<SimNetwork::Record> records = network.Received();
        picked.clear();
        for (size_t i = from; i < records.size(); ++i)
            if (pick(records[i]))
                picked.push_back(records[i]);
        if (picked.size() >= count)
            break;
        SleepMs(50);
    }
    return picked;
}

inline size_t RecordCount(const SimNetwork& network)
{
    return network.Received().size();
}

// The settings messages the dialogs and "Update" send, in the order they arrived.
inline bool IsSettingsMessage(const SimNetwork::Record& record)
{
    const uint16_t code = Code(record);
    return (record.port == 6517 && (code == 0x0020 || code == 0x0030 || code == 0x0040)) ||
           (record.port == 6464 && code == 0x0088);
}

// Port programming, code 0x0030: the 22-byte form for an input port, 164 bytes otherwise.
inline std::vector<uint8_t> PortProgramming(uint8_t wirePort, uint8_t mode, uint16_t universeCode,
                                     uint32_t portValue)
{
    const bool input = mode == 1;
    std::vector<uint8_t> bytes = Kivnet(0x0030, input ? 22 : 164);
    Put(bytes, 8, {wirePort});                                   // wire port number
    Put(bytes, 9, {mode});                                       // 0 disabled, 1 in, 2 out
    Put(bytes, 10, {uint8_t(mode != 0 ? 1 : 0)});                // enabled
    Put(bytes, 11, {uint8_t(input ? 1 : 2)});                    // form: 1 input, 2 other
    Put(bytes, 12, {uint8_t(universeCode >> 8), uint8_t(universeCode)}); // universe code
    const uint8_t value[] = {uint8_t(portValue >> 24), uint8_t(portValue >> 16),
                             uint8_t(portValue >> 8), uint8_t(portValue)};
    if (input) {
        Put(bytes, 14, {0x64});                                  // 100
        Put(bytes, 18, {value[0], value[1], value[2], value[3]}); // port value
    } else {
        Put(bytes, 160, {value[0], value[1], value[2], value[3]}); // port value
    }
    return bytes;
}

// Network settings, code 0x0088 on the update port, for a unit of a model.
inline std::vector<uint8_t> NetworkSettings(uint16_t unit, uint16_t model,
                                            std::initializer_list<uint8_t> addressLittleEndian,
                                            std::initializer_list<uint8_t> maskLittleEndian)
{
    std::vector<uint8_t> bytes(282, 0);
    Put(bytes, 0, {0x4D, 0x2D, 0x52, 0x00});                   // magic "M-R"
    Put(bytes, 4, {0x00, 0x88});                               // network settings
    Put(bytes, 8, {uint8_t(unit >> 8), uint8_t(unit)});        // unit number
    Put(bytes, 10, {uint8_t(model >> 8), uint8_t(model)});     // model code
    Put(bytes, 14, addressLittleEndian);     // new address, last octet first
    Put(bytes, 18, maskLittleEndian);        // new mask, last octet first
    return bytes;
}

} // namespace wirerecords
