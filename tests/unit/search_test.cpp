// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "chess/board.h"
#include "data/test_data.h"
#include "moves/make_move.h"
#include "moves/movegen.h"
#include "search/search.h"
#include "search/search_control.h"
#include "unit/test_support.h"

namespace {
// Back-rank mate in one for White: Ra8#.
const char* mate_in_one = "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1";
// Black to move is mated by Ra8.
const char* mated = "R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1";
// Black to move has no move and is not in check.
const char* stalemate = "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1";
// Black's only move Kb8 allows Rh8#.
const char* every_move_mated = "k7/8/1K6/8/8/8/8/7R b - - 0 1";

class Search : public ::testing::Test {
protected:
    SearchState state;
    SearchResult root(const std::string& fen, uint32_t depth) {
        search_board = Board(fen);
        return search_root(depth);
    }
};

TEST_F(Search, StartPositionDepthOne) {
    search_board = Board::start_position();
    const std::string first = legal_moves(search_board).front().move.to_uci();
    EXPECT_EQ(first, "b1a3");
    const SearchResult result = search_root(1);
    EXPECT_EQ(result.score, 0);
    EXPECT_EQ(line_text(result.pv), first);
    // The root, then per move one node at depth 0 and its quiescence node.
    EXPECT_EQ(node_count, 41u);
    EXPECT_EQ(root_depth, 1u);
}

TEST_F(Search, MateInOneIsSeenFromDepthTwo) {
    // At depth 1 the mated position lies at the horizon: only material counts
    // (rook against three pawns).
    const SearchResult shallow = root(mate_in_one, 1);
    EXPECT_EQ(shallow.score, 2000);
    for (uint32_t depth = 2; depth <= 4; ++depth) {
        const SearchResult result = root(mate_in_one, depth);
        EXPECT_EQ(result.score, 2147483646) << depth;
        EXPECT_EQ(line_text(result.pv), "a1a8") << depth;
    }
}

TEST_F(Search, MatedRootScoresMinusInfinityWithEmptyLine) {
    for (uint32_t depth = 1; depth <= 3; ++depth) {
        node_count = 0;
        const SearchResult result = root(mated, depth);
        EXPECT_EQ(result.score, -INF) << depth;
        EXPECT_TRUE(result.pv.empty()) << depth;
        EXPECT_EQ(node_count, 1u) << depth;
    }
}

TEST_F(Search, StalemateScoresZeroWithEmptyLine) {
    for (uint32_t depth = 1; depth <= 3; ++depth) {
        const SearchResult result = root(stalemate, depth);
        EXPECT_EQ(result.score, 0) << depth;
        EXPECT_TRUE(result.pv.empty()) << depth;
    }
}

TEST_F(Search, EveryMoveAllowingMateScoresMatedAtPlyTwo) {
    EXPECT_EQ(root(every_move_mated, 1).score, -5000);
    EXPECT_EQ(root(every_move_mated, 2).score, -5000);
    for (uint32_t depth = 3; depth <= 4; ++depth) {
        const SearchResult result = root(every_move_mated, depth);
        EXPECT_EQ(result.score, -2147483645) << depth;
        EXPECT_EQ(line_text(result.pv), "a8b8 h1h8") << depth;
    }
}

TEST_F(Search, EmptyBoardHasNoMoveAndScoresZero) {
    search_board = Board::empty_board();
    const SearchResult result = search_root(2);
    EXPECT_EQ(result.score, 0);
    EXPECT_TRUE(result.pv.empty());
    search_board = Board();
    EXPECT_EQ(search_root(2).score, 0);
}

TEST_F(Search, AlreadyStoppedSearchCountsOneNode) {
    search_stopped = true;
    const SearchResult result = root(test_data::fen("kiwipete"), 4);
    EXPECT_EQ(result.score, -INF);
    EXPECT_TRUE(result.pv.empty());
    EXPECT_EQ(node_count, 1u);
}

TEST_F(Search, WithoutCheckStopNothingIsCountedAndTheFlagIsIgnored) {
    search_stopped = true;
    Board board = Board::start_position();
    const SearchResult result = alpha_beta(board, -INF, INF, 2, false);
    EXPECT_EQ(result.score, 0);
    EXPECT_EQ(line_text(result.pv), "b1a3 b8a6");
    EXPECT_EQ(node_count, 0u);
}

TEST_F(Search, SearchLeavesTheBoardAsItFoundIt) {
    const std::string kiwipete = test_data::fen("kiwipete");
    const std::string en_passant = "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1";
    for (const std::string& fen : {kiwipete, en_passant}) {
        root(fen, 3);
        EXPECT_EQ(search_board.to_fen(), fen);
        EXPECT_EQ(search_board.pieces, Board(fen).pieces);
    }
}

TEST_F(Search, QuiescenceStandsPatAtOrAboveBeta) {
    // White queen against black rook: stand pat 4750, though Qxd5 wins more.
    Board board("4k3/8/8/3r4/8/8/8/3QK3 w - - 0 1");
    const SearchResult cut = quiescence(board, -INF, 1000, true);
    EXPECT_EQ(cut.score, 4750);
    EXPECT_TRUE(cut.pv.empty());
    EXPECT_EQ(node_count, 1u);  // no capture was tried

    node_count = 0;
    const SearchResult exact = quiescence(board, -INF, 4750, true);
    EXPECT_EQ(exact.score, 4750);
    EXPECT_EQ(node_count, 1u);

    node_count = 0;
    const SearchResult open = quiescence(board, -INF, INF, true);
    EXPECT_EQ(open.score, 9750);
    EXPECT_EQ(line_text(open.pv), "d1d5");
    EXPECT_EQ(node_count, 2u);
}

TEST_F(Search, QuiescenceFollowsCaptureLines) {
    // Nxd5 exd5: a knight for the queen, better than standing at -7500.
    Board trade("4k3/8/4p3/3q4/8/2N5/8/4K3 w - - 0 1");
    const SearchResult line = quiescence(trade, -INF, INF, false);
    EXPECT_EQ(line.score, -1000);
    EXPECT_EQ(line_text(line.pv), "c3d5 e6d5");

    // Qxd5 exd5 loses the queen: standing pat (3750) is best.
    Board defended("4k3/8/4p3/3r4/8/8/8/3QK3 w - - 0 1");
    const SearchResult stand = quiescence(defended, -INF, INF, false);
    EXPECT_EQ(stand.score, 3750);
    EXPECT_TRUE(stand.pv.empty());
    // With alpha above everything that is on offer: alpha and no line.
    const SearchResult low = quiescence(defended, 5000, INF, false);
    EXPECT_EQ(low.score, 5000);
    EXPECT_TRUE(low.pv.empty());

    // En passant is a capture for the quiescence search.
    Board en_passant("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
    const SearchResult ep = quiescence(en_passant, -INF, INF, false);
    EXPECT_EQ(ep.score, 1000);
    EXPECT_EQ(line_text(ep.pv), "e5d6");
}

TEST_F(Search, QuiescenceSkipsPromotionsAndQuietMovesAndSeesNoMate) {
    // bxa8=Q would win a rook, but promotions are no captures here.
    Board promotion("r3k3/1P6/8/8/8/8/8/4K3 w - - 0 1");
    const SearchResult result = quiescence(promotion, -INF, INF, false);
    EXPECT_EQ(result.score, -4000);
    EXPECT_TRUE(result.pv.empty());
    // A full-width ply does see the capturing promotion.
    search_board = promotion;
    EXPECT_EQ(line_text(search_root(1).pv), "b7a8q");

    // A mated side at the horizon keeps its material score.
    Board mated_board(mated);
    EXPECT_EQ(quiescence(mated_board, -INF, INF, false).score, -2000);
}

TEST_F(Search, LinesBeyondTheHorizonHoldOnlyCaptures) {
    search_board = Board(test_data::fen("kiwipete"));
    for (uint32_t depth = 1; depth <= 3; ++depth) {
        const SearchResult result = search_root(depth);
        Board board = search_board;
        uint32_t ply = 0;
        for (const Move& move : result.pv) {
            if (ply >= depth) {
                EXPECT_TRUE(move.kind == MoveKind::capture || move.kind == MoveKind::en_passant)
                    << depth << ": " << line_text(result.pv);
            }
            make_move(board, move);
            ++ply;
        }
        EXPECT_GE(ply, depth);
    }
}
}  // namespace

// The deepest search the engine runs, an iteration at the depth cap with
// quiescence below it, on a thread made as the search thread is made: its
// first descent goes straight down to the cap, so it must fit in that
// thread's stack on every platform (on Windows the stack size is set at link
// time).
TEST_F(Search, AnIterationAtTheDepthCapFitsOnASearchThread) {
    search_board = Board(test_data::fen("middlegame"));
    std::thread search([] { search_root(MAX_SEARCH_DEPTH); });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    search_stopped = true;
    search.join();
    // Far more nodes than the first descent's few hundred.
    EXPECT_GT(node_count, 10000u);
}
