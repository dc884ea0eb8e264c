#pragma once

#include <cstdint>

// When a read-back whose tries ran out is tried again. The first wait is about 2 s and each
// stall in a row doubles it, up to about 32 s; every wait is spread by up to a quarter either
// way, so that devices that stalled together do not all ask again together. A reply that moves
// the read-back on makes the next wait the shortest again.
class exReadBackRetry {
public:
    static constexpr int kFirstWaitMs = 2000;
    static constexpr int kLongestWaitMs = 32000;

    explicit exReadBackRetry(uint32_t seed);

    // The stage's tries ran out: the wait begins.
    void Stalled();
    void Advance(int elapsedMs);
    // Stalled and waited long enough.
    bool Due() const { return stalled && waitLeftMs <= 0; }
    bool IsStalled() const { return stalled; }
    // A new round of tries begins.
    void Resumed();
    // A reply moved the read-back on, or it started over.
    void Progressed();
    int WaitLeftMs() const { return waitLeftMs; }
    int StallsInARow() const { return stallsInARow; }

private:
    uint32_t NextRandom();

    uint32_t random;
    bool stalled = false;
    int waitLeftMs = 0;
    int stallsInARow = 0;
};
