// The operating system's adapter list, as the private test network lays it out.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "discovery/localadapters.h"

TEST(LocalAdapters, SystemQueryFindsThePrivateTestAdapter)
{
    // The test network gives this namespace 10.201.0.1/24 beside loopback.
    exLocalAdapters adapters;
    adapters.Build(exLocalAdapters::QuerySystem());
    EXPECT_THAT(adapters.localAddresses, testing::Contains(0x0AC90001u));
    EXPECT_THAT(adapters.localAddresses, testing::Not(testing::Contains(0x7F000001u)));
    EXPECT_TRUE(adapters.IsReachable(0x0AC90042));
}
