#include <gtest/gtest.h>

#include "data/test_data.h"
#include "search/search.h"
#include "search/search_control.h"
#include "unit/test_support.h"

// Every pinned search figure, the deep ones the default run leaves to the
// benchmark included (the start position's depth 8 is 3.5 million nodes).
namespace {
class DeepSearchFigures : public testing::TestWithParam<test_data::SearchFigures> {};

TEST_P(DeepSearchFigures, EveryIterationAsPinned) {
    const test_data::SearchFigures& position = GetParam();
    search_board = Board(position.fen);
    search_stopped = false;
    node_count = 0;
    for (const test_data::SearchIteration& expected : position.iterations) {
        const SearchResult result = search_root(expected.depth);
        EXPECT_EQ(result.score, expected.score) << "depth " << expected.depth;
        EXPECT_EQ(node_count, expected.nodes) << "depth " << expected.depth;
        EXPECT_EQ(line_text(result.pv), expected.pv) << "depth " << expected.depth;
    }
    search_stopped = true;
    EXPECT_EQ(search_board.to_fen(), position.fen);
}

INSTANTIATE_TEST_SUITE_P(Positions, DeepSearchFigures, testing::ValuesIn(test_data::search_figures()),
                         [](const testing::TestParamInfo<test_data::SearchFigures>& info) {
                             return test_data::test_name(info.param.name);
                         });
}  // namespace
