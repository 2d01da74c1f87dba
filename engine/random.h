// The shared generator, the pool of seeds drawn from the clock, and the
// permutation draw that every random choice of a composition goes through.
#pragma once
#include <cstdint>

enum { RandomPoolSize = 1000, MaxPermutationSize = 48 };

extern int32_t RandomPool[RandomPoolSize];
extern int32_t SeedPosition;  // next pool entry to use
extern int32_t PoolsDrawn;    // pools drawn in this run, the first included

void SeedGenerator(uint32_t seed);
int32_t NextRandom();  // 0..32767

// Fills the pool from the calendar clock and starts at its first seed.
void DrawRandomPool();

// out receives 0..n-1 (n at most 48) in an order drawn from the next pool seed.
// A spent pool is replaced by a fresh one; the composer's piece is never lost.
void DrawPermutation(int32_t n, int32_t* out);
