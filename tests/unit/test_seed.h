// The seed of a test that draws at random. It is printed, and
// VARNOLT_TEST_SEED, when set, takes its place, so that a failure can be run
// again with the same draws.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

inline uint32_t TestSeed(uint32_t otherwise = std::random_device{}())
{
    const char* given = std::getenv("VARNOLT_TEST_SEED");
    const uint32_t seed = given && *given ? (uint32_t)std::strtoul(given, nullptr, 10) : otherwise;
    std::printf("seed %u (VARNOLT_TEST_SEED=%u draws the same again)\n", seed, seed);
    std::fflush(stdout);
    return seed;
}
