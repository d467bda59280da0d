// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "chess/board.h"
#include "data/test_data.h"
#include "moves/perft.h"

// The published counts of the perft suite. The default run (unit_tests)
// counts the depths of up to BRIX_PERFT_MOST_LEAVES leaves; the long run
// (long_tests) every published depth, the start position's 119 million
// leaves of depth 6 included.
namespace {
#ifdef BRIX_PERFT_MOST_LEAVES
constexpr uint64_t most_leaves = BRIX_PERFT_MOST_LEAVES;
#else
constexpr uint64_t most_leaves = std::numeric_limits<uint64_t>::max();
#endif

class PerftSuite : public testing::TestWithParam<test_data::PerftPosition> {};

TEST_P(PerftSuite, PublishedCounts) {
    const test_data::PerftPosition& position = GetParam();
    Board board(position.fen);
    for (uint32_t depth = 1; depth <= position.counts.size() && position.counts[depth - 1] <= most_leaves; ++depth) {
        EXPECT_EQ(perft(board, depth), position.counts[depth - 1]) << "depth " << depth;
        ASSERT_EQ(board.to_fen(), position.fen);
    }
}

INSTANTIATE_TEST_SUITE_P(Positions, PerftSuite, testing::ValuesIn(test_data::perft_suite()),
                         [](const testing::TestParamInfo<test_data::PerftPosition>& info) {
                             return test_data::test_name(info.param.name);
                         });
}  // namespace
