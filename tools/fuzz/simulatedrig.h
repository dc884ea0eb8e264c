#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "../sim/device.h"

class FuzzRack;

// One simulated device of every model on the harness's network, a SwitchKappa with modules in
// two of its bays among them, answering what the program asks with the simulator's own message
// code. Lets a harness walk each device's read-back through every stage, one exchange at a
// time, and put its own datagrams in between.
class SimulatedRig {
public:
    // Empties the rack first: the rig starts on a network of its own.
    explicit SimulatedRig(FuzzRack& rack);
    // Empties the rack again: what an input built is freed before the input ends, so the
    // fuzzer's leak check sees an input's own allocations balance, and tells a real leak from a
    // rack kept for the next input (it runs an input twice whenever more was allocated than
    // freed).
    ~SimulatedRig();
    SimulatedRig(const SimulatedRig&) = delete;
    SimulatedRig& operator=(const SimulatedRig&) = delete;

    // Every device answers a discovery request once: the rack then holds one of each model.
    void DiscoverAll();
    // Delivers the oldest request the program sent that has not been delivered yet, and feeds
    // the answers back; false when none is waiting.
    bool AnswerOne();
    // Answers one request, or lets the clock tick once when none waits.
    void AnswerOrTick();
    // Answers until nothing waits and no device is reading back, at most `limit` steps; the
    // clock ticks whenever the program is quiet, so that repeats happen too.
    void Settle(int limit);
    bool ReadingBack() const;
    // Every device falls silent until the rack counts it lost, then answers again: the program
    // reads each one again in full, as after its cable was out for a while. At most `limit`
    // steps for each part.
    void Reconnect(int limit);

    std::vector<sim::Device> devices;
    // When set, only this device of `devices` answers; the others stay silent after their
    // discovery reply, which keeps a harness's exchanges to the device it is about.
    const sim::Device* only = nullptr;

private:
    template <class SentList>
    bool DeliverNext(const SentList& sent, size_t& delivered, sim::Service service);
    // Feeds one datagram the way the program's endpoint hands it on.
    void Deliver(sim::Device& device, sim::Service service, const std::vector<uint8_t>& request);

    // Whether every device in the rack (modules aside) is lost, or every one is not.
    bool AllLost(bool lost) const;

    FuzzRack& rack;
    // Requests are taken and go unanswered.
    bool silent = false;
    size_t kivnetDelivered = 0;
    size_t updateDelivered = 0;
    size_t artNetDelivered = 0;
};
