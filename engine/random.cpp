#include "engine/random.h"

#include <ctime>

int32_t RandomPool[RandomPoolSize];
int32_t SeedPosition;
int32_t PoolsDrawn;

static uint32_t GeneratorState;
static uint32_t LastPoolSeed;

void SeedGenerator(uint32_t seed)
{
    GeneratorState = seed;
}

int32_t NextRandom()
{
    GeneratorState = GeneratorState * 214013u + 2531011u;
    return (int32_t)((GeneratorState >> 16) & 32767u);
}

static void FillPool(uint32_t seed)
{
    LastPoolSeed = seed;
    SeedGenerator(seed);
    for (int i = 0; i < RandomPoolSize; ++i)
        RandomPool[i] = NextRandom();
    SeedPosition = 0;
    ++PoolsDrawn;
}

void DrawRandomPool()
{
    PoolsDrawn = 0;
    FillPool((uint32_t)std::time(nullptr));
}

// The clock is mixed with the number of pools drawn so far, so a refill in the
// same second as the last draw still gives a pool of its own.
static void RefillPool()
{
    uint32_t seed = (uint32_t)std::time(nullptr) + (uint32_t)PoolsDrawn * 2654435761u;
    if (seed == LastPoolSeed) ++seed;
    FillPool(seed);
}

void DrawPermutation(int32_t n, int32_t* out)
{
    bool taken[MaxPermutationSize] = {};
    if (SeedPosition >= RandomPoolSize) RefillPool();
    SeedGenerator((uint32_t)RandomPool[SeedPosition]);
    ++SeedPosition;
    int32_t count = 0;
    while (count < n) {
        int32_t k = (n * NextRandom()) >> 15;
        if (taken[k]) continue;
        taken[k] = true;
        out[count++] = k;
    }
}
