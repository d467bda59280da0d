// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "chess/board.h"
#include "moves/move.h"
#include "search/search_output.h"
#include "unit/test_support.h"

namespace {
Move move(const char* text, const Board& board = Board::start_position()) { return Move::from_uci(board, text); }

TEST(FormatScore, MaterialScoresAreCentipawnsRoundedTowardZero) {
    EXPECT_EQ(format_score(0), "cp 0");
    EXPECT_EQ(format_score(1000), "cp 100");
    EXPECT_EQ(format_score(-3250), "cp -325");
    EXPECT_EQ(format_score(9750), "cp 975");
    EXPECT_EQ(format_score(-5), "cp 0");
    EXPECT_EQ(format_score(-19), "cp -1");
    EXPECT_EQ(format_score(19), "cp 1");
}

TEST(FormatScore, MateScoresCountMovesAndAreNegativeWhenMated) {
    EXPECT_EQ(format_score(INF - 1), "mate 1");  // mates at ply 1
    EXPECT_EQ(format_score(INF - 3), "mate 2");  // mates at ply 3
    EXPECT_EQ(format_score(INF - 9), "mate 5");
    EXPECT_EQ(format_score(2 - INF), "mate -1");  // mated at ply 2
    EXPECT_EQ(format_score(4 - INF), "mate -2");
    EXPECT_EQ(format_score(-INF), "mate 0");  // mated at the root
}

TEST(FormatScore, MateRangeEndsTenThousandPliesFromInfinity) {
    EXPECT_EQ(format_score(INF - 9999), "mate 5000");
    EXPECT_EQ(format_score(INF - 10000), "mate -5000");
    EXPECT_EQ(format_score(INF - 10001), "cp 214747364");
    EXPECT_EQ(format_score(9999 - INF), "mate 5000");
    EXPECT_EQ(format_score(10000 - INF), "mate -5000");
    EXPECT_EQ(format_score(10001 - INF), "cp -214747364");
    // Below the window: not a mate distance.
    EXPECT_EQ(format_score(-INF - 1), "cp -214748364");
}

TEST(FormatInfo, FieldsInOrderAndEveryMoveFollowedByABlank) {
    SearchResult result{0, {move("b1a3")}};
    EXPECT_EQ(format_info(1, result, 41, 0), "info depth 1 score cp 0 nps 0 nodes 41 pv b1a3 \n");

    result = SearchResult{
        -3250, {move("e2e4"), move("e7e5", Board("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1"))}};
    EXPECT_EQ(format_info(12, result, 4000000, 20000000),
              "info depth 12 score cp -325 nps 2000000 nodes 4000000 pv e2e4 e7e5 \n");
}

TEST(FormatInfo, EmptyLineLeavesPvBeforeTheLineFeed) {
    EXPECT_EQ(format_info(3, SearchResult{-INF, {}}, 3, 0), "info depth 3 score mate 0 nps 0 nodes 3 pv \n");
    EXPECT_EQ(format_info(2, SearchResult{0, {}}, 7, 10), "info depth 2 score cp 0 nps 7000000 nodes 7 pv \n");
}

TEST(FormatInfo, NodesPerSecondIsTruncated) {
    // 10 nodes in 3 seconds: 3.33 per second.
    EXPECT_EQ(format_info(1, SearchResult{0, {}}, 10, 30000000), "info depth 1 score cp 0 nps 3 nodes 10 pv \n");
    // Fewer nodes than seconds.
    EXPECT_EQ(format_info(1, SearchResult{0, {}}, 1, 20000000), "info depth 1 score cp 0 nps 0 nodes 1 pv \n");
}

TEST(FormatInfo, NodeCountsBeyondThirtyTwoBitsAreWrittenWhole) {
    EXPECT_EQ(format_info(9, SearchResult{0, {}}, 5000000000ull, 10000000),
              "info depth 9 score cp 0 nps 5000000000 nodes 5000000000 pv \n");
}

TEST(FormatInfo, PromotionsCarryTheirLetter) {
    const Board board("4k3/P7/8/8/8/8/8/4K3 w - - 0 1");
    const SearchResult result{INF - 3, {move("a7a8q", board)}};
    EXPECT_EQ(format_info(4, result, 99, 0), "info depth 4 score mate 2 nps 0 nodes 99 pv a7a8q \n");
}

TEST(FormatBestmove, MoveTextOrNullMove) {
    EXPECT_EQ(format_bestmove(move("g1f3")), "bestmove g1f3\n");
    EXPECT_EQ(format_bestmove(move("e7e8n", Board("8/4P1k1/8/8/8/8/8/4K3 w - - 0 1"))), "bestmove e7e8n\n");
    EXPECT_EQ(format_bestmove(Move()), "bestmove 0000\n");
}
}  // namespace
