// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "data/test_data.h"
#include "search/search.h"
#include "search/search_control.h"
#include "unit/test_support.h"

// The engine's search against the pinned search figures, iteration by
// iteration as one go runs them: score, nodes since the search began, line.
// The default run (unit_tests) checks the iterations of up to
// BRIX_SEARCH_MOST_NODES nodes; the long run (long_tests) all of them, the
// start position's depth 8 (3.5 million nodes) included.
namespace {
#ifdef BRIX_SEARCH_MOST_NODES
constexpr uint64_t most_nodes = BRIX_SEARCH_MOST_NODES;
#else
constexpr uint64_t most_nodes = std::numeric_limits<uint64_t>::max();
#endif

class SearchFigures : public testing::TestWithParam<test_data::SearchFigures> {};

TEST_P(SearchFigures, EngineSearchGivesThePinnedFigures) {
    const test_data::SearchFigures& position = GetParam();
    SearchState state;
    search_board = Board(position.fen);
    for (const test_data::SearchIteration& expected : position.iterations) {
        if (expected.nodes > most_nodes) break;
        const SearchResult result = search_root(expected.depth);
        EXPECT_EQ(result.score, expected.score) << "depth " << expected.depth;
        EXPECT_EQ(node_count, expected.nodes) << "depth " << expected.depth;
        EXPECT_EQ(line_text(result.pv), expected.pv) << "depth " << expected.depth;
    }
    EXPECT_EQ(search_board.to_fen(), position.fen);
}

INSTANTIATE_TEST_SUITE_P(Positions, SearchFigures, testing::ValuesIn(test_data::search_figures()),
                         [](const testing::TestParamInfo<test_data::SearchFigures>& info) {
                             return test_data::test_name(info.param.name);
                         });
}  // namespace
