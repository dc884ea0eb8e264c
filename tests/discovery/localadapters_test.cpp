#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "discovery/localadapters.h"

using testing::ElementsAre;

TEST(LocalAdapters, LoopbackAndMulticastAddressesAreSkipped)
{
    exLocalAdapters adapters;
    adapters.Build({{0x7F000001, 0xFF000000},
                    {0xE0000001, 0xFFFFFF00},
                    {0xF0000001, 0xFFFFFF00},
                    {0xC0A8010A, 0xFFFFFF00}});
    EXPECT_THAT(adapters.localAddresses, ElementsAre(0xC0A8010Au));
    EXPECT_THAT(adapters.masks, ElementsAre(0xFFFFFF00u));
    EXPECT_THAT(adapters.broadcastValues, ElementsAre(0xC0A801FFu));
    ASSERT_EQ(adapters.broadcastAddresses.size(), 1u);
    EXPECT_EQ(adapters.broadcastAddresses[0], "192.168.1.255");
}

TEST(LocalAdapters, OnlyTheFirstTenAdaptersCount)
{
    std::vector<exAdapterAddress> eleven;
    for (uint32_t i = 1; i <= 11; ++i)
        eleven.push_back({0x0A000000 | (i << 8) | 1, 0xFFFFFF00});
    exLocalAdapters adapters;
    adapters.Build(eleven);
    ASSERT_EQ(adapters.localAddresses.size(), 10u);
    EXPECT_EQ(adapters.broadcastAddresses[9], "10.0.10.255");
    EXPECT_FALSE(adapters.IsReachable(0x0A000B05)); // the eleventh subnet
}

TEST(LocalAdapters, ReachabilityFollowsTheLocalSubnets)
{
    exLocalAdapters adapters;
    EXPECT_TRUE(adapters.IsReachable(0)) << "address 0 with no adapters";
    EXPECT_FALSE(adapters.IsReachable(0xC0A8014D)) << "empty tables";

    adapters.Build({{0xC0A8010A, 0xFFFFFF00}});
    struct Case {
        uint32_t ip;
        bool reachable;
    } cases[] = {{0, true}, {0xC0A8014D, true}, {0x0A000005, false}, {0xC0A8024D, false}};
    for (const Case& c : cases)
        EXPECT_EQ(adapters.IsReachable(c.ip), c.reachable) << std::hex << c.ip;

    // An adapter whose subnet is 0 (mask 0) makes nothing reachable.
    adapters.Build({{0x0A000001, 0x00000000}});
    EXPECT_FALSE(adapters.IsReachable(0x0A000005));
}
