#include "core/display_limit.h"

#include <gtest/gtest.h>

#include <tuple>

namespace quillex {
namespace {

class LinesToShowTest : public ::testing::TestWithParam<std::tuple<int, std::size_t, std::size_t>> {
};

TEST_P(LinesToShowTest, TakesAtMostTheCap) {
    auto [limit, count, shown] = GetParam();
    EXPECT_EQ(LinesToShow(limit, count), shown);
}

INSTANTIATE_TEST_SUITE_P(Caps, LinesToShowTest,
                         ::testing::Values(std::tuple{0, 0u, 0u}, std::tuple{0, 5u, 5u},
                                           std::tuple{0, 99u, 99u}, std::tuple{0, 100u, 100u},
                                           std::tuple{0, 101u, 100u}, std::tuple{1, 201u, 200u},
                                           std::tuple{2, 5000u, 500u}, std::tuple{3, 1000u, 1000u},
                                           std::tuple{3, 1001u, 1000u}, std::tuple{4, 5000u, 5000u},
                                           std::tuple{4, 0u, 0u}));

}  // namespace
}  // namespace quillex
