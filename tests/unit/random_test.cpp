#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "engine/random.h"

static bool IsPermutation(const int32_t* p, int n)
{
    std::vector<int32_t> v(p, p + n);
    std::sort(v.begin(), v.end());
    for (int i = 0; i < n; ++i)
        if (v[i] != i) return false;
    return true;
}

TEST(Generator, KnownSequenceFromSeedOne)
{
    SeedGenerator(1);
    for (int expected : {41, 18467, 6334, 26500, 19169, 15724}) EXPECT_EQ(NextRandom(), expected);
}

TEST(Permutation, KnownOrderFromSeedOne)
{
    DrawRandomPool();
    RandomPool[0] = 1;
    int32_t p[12];
    DrawPermutation(12, p);
    const int32_t expected[12] = {0, 6, 2, 9, 7, 5, 4, 10, 8, 3, 1, 11};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(p[i], expected[i]) << i;
    EXPECT_EQ(SeedPosition, 1);
}

TEST(Permutation, EachDrawUsesTheNextSeedWhateverTheGeneratorDidBetween)
{
    DrawRandomPool();
    for (int i = 0; i < RandomPoolSize; ++i) RandomPool[i] = 1000 + i;
    int32_t first[48], again[48];
    DrawPermutation(48, first);
    SeedGenerator(12345);
    NextRandom();
    DrawPermutation(48, again);
    EXPECT_EQ(SeedPosition, 2);
    SeedPosition = 0;
    int32_t replay[48];
    DrawPermutation(48, replay);
    EXPECT_TRUE(std::equal(first, first + 48, replay));
    EXPECT_TRUE(IsPermutation(first, 48));
    EXPECT_TRUE(IsPermutation(again, 48));
}

TEST(Permutation, ThousandthUsesTheLastSeedAndTheNextComesFromAFreshPool)
{
    DrawRandomPool();
    int32_t p[48];
    SeedPosition = RandomPoolSize - 1;
    int32_t lastSeed = RandomPool[RandomPoolSize - 1];
    DrawPermutation(48, p);
    EXPECT_EQ(SeedPosition, RandomPoolSize);
    int32_t expected[48];
    SeedPosition = RandomPoolSize - 1;
    RandomPool[RandomPoolSize - 1] = lastSeed;
    DrawPermutation(48, expected);
    EXPECT_TRUE(std::equal(p, p + 48, expected));

    std::vector<int32_t> spent(RandomPool, RandomPool + RandomPoolSize);
    int before = PoolsDrawn;
    DrawPermutation(12, p);  // the 1001st
    EXPECT_TRUE(IsPermutation(p, 12));
    EXPECT_EQ(PoolsDrawn, before + 1);
    EXPECT_EQ(SeedPosition, 1);
    EXPECT_FALSE(std::equal(spent.begin(), spent.end(), RandomPool)) << "the spent pool came back";
}

TEST(Permutation, ThousandsOfDrawsInOneRunGoOn)
{
    DrawRandomPool();
    std::set<std::vector<int32_t>> pools;
    for (int i = 0; i < 5000; ++i) {
        int32_t p[48];
        int n = i % 2 ? 48 : 12;
        DrawPermutation(n, p);
        ASSERT_TRUE(IsPermutation(p, n)) << i;
        if (SeedPosition == 1) pools.insert(std::vector<int32_t>(RandomPool, RandomPool + 10));
    }
    EXPECT_EQ(PoolsDrawn, 5);
    EXPECT_EQ(pools.size(), 5u) << "each pool drawn within the same second must differ";
}
