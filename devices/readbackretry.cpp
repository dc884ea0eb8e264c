#include "devices/readbackretry.h"

#include <algorithm>

exReadBackRetry::exReadBackRetry(uint32_t seed) : random(seed != 0 ? seed : 1) {}

uint32_t exReadBackRetry::NextRandom()
{
    // xorshift32: cheap, and the same seed gives the same waits.
    random ^= random << 13;
    random ^= random >> 17;
    random ^= random << 5;
    return random;
}

void exReadBackRetry::Stalled()
{
    if (stalled)
        return;
    stalled = true;
    ++stallsInARow;
    const int doublings = std::min(stallsInARow - 1, 4);
    const int base = std::min(kFirstWaitMs << doublings, kLongestWaitMs);
    // 0.75 to 1.25 times the base, in thousandths.
    const int permille = 750 + int(NextRandom() % 501);
    waitLeftMs = int(int64_t(base) * permille / 1000);
}

void exReadBackRetry::Advance(int elapsedMs)
{
    if (stalled && waitLeftMs > 0)
        waitLeftMs = std::max(0, waitLeftMs - elapsedMs);
}

void exReadBackRetry::Resumed()
{
    stalled = false;
    waitLeftMs = 0;
}

void exReadBackRetry::Progressed()
{
    Resumed();
    stallsInARow = 0;
}
