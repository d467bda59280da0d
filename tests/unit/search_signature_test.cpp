// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "chess/board.h"
#include "data/test_data.h"
#include "moves/attacks.h"
#include "moves/make_move.h"
#include "moves/movegen.h"
#include "search/search.h"
#include "search/search_control.h"
#include "unit/reference_search.h"

// Checks the search figures of the test data (depths 1 to 5) without trusting the engine's
// search: a reference search written separately, a plain minimax for the
// scores, and a replay of the lines.
namespace {
using namespace reference;

// The game value without pruning above the horizon: full width to `depth`,
// then the exact value of the capture sequences, taken with a full window.
int32_t minimax_quiesce(Board& board) {
    ReferenceSearch quiet;
    Line pv;
    return quiet.quiesce(board, -INF, INF, pv);
}

int32_t minimax(Board& board, uint32_t depth, int32_t ply) {
    if (depth == 0) return minimax_quiesce(board);
    const MoveList moves = legal_moves(board);
    if (moves.empty()) return in_check(board) ? ply - INF : 0;
    int32_t best = -INF;
    for (const ScoredMove& scored : moves) {
        const MoveUndo undo = make_move(board, scored.move);
        best = std::max(best, -minimax(board, depth - 1, ply + 1));
        unmake_move(board, undo);
    }
    return best;
}

// Plays a line from `fen` and checks that it can stand for `score` at `depth`:
// legal moves all along, captures only past the horizon, and a leaf whose
// material (or mate, or stalemate) is the score.
void check_line(const std::string& fen, uint32_t depth, int32_t score, const Line& pv) {
    Board board(fen);
    uint32_t ply = 0;
    for (const Move& move : pv) {
        const MoveList moves = legal_moves(board);
        const bool legal = std::any_of(moves.begin(), moves.end(), [&](const ScoredMove& scored) {
            return scored.move.to_uci() == move.to_uci() && scored.move.kind == move.kind;
        });
        ASSERT_TRUE(legal) << move.to_uci() << " at ply " << ply;
        if (ply >= depth) {
            EXPECT_TRUE(is_capture(move)) << move.to_uci() << " beyond the horizon";
        }
        make_move(board, move);
        ++ply;
    }
    const bool no_moves = legal_moves(board).empty();
    if (ply < depth) {
        ASSERT_TRUE(no_moves) << "line ends before the horizon";
    }
    if (std::abs(static_cast<int64_t>(score)) > INF - 10000) {
        EXPECT_TRUE(no_moves && in_check(board));
        EXPECT_EQ(ply, static_cast<uint32_t>(score > 0 ? INF - score : score + INF));
    } else if (no_moves && ply < depth) {
        EXPECT_EQ(score, 0);
    } else {
        EXPECT_EQ(score, ply % 2 == 0 ? board.evaluate() : -board.evaluate());
    }
}

class Signature : public ::testing::TestWithParam<test_data::SearchFigures> {};

TEST_P(Signature, ReferenceSearchGivesThePinnedFigures) {
    const test_data::SearchFigures& position = GetParam();
    Board board(position.fen);
    ReferenceSearch reference;
    for (const test_data::SearchIteration& expected : position.iterations) {
        Line pv;
        const int32_t score = reference.search(board, -INF, INF, expected.depth, 0, pv);
        EXPECT_EQ(score, expected.score) << "depth " << expected.depth;
        EXPECT_EQ(reference.nodes, expected.nodes) << "depth " << expected.depth;
        EXPECT_EQ(line_text(pv), expected.pv) << "depth " << expected.depth;
        check_line(position.fen, expected.depth, score, pv);
    }
    EXPECT_EQ(board.to_fen(), position.fen);
}

TEST_P(Signature, PinnedScoresAreTheMinimaxValue) {
    const test_data::SearchFigures& position = GetParam();
    Board board(position.fen);
    // Full width grows fast (Kiwipete's capture sequences most of all): the
    // first iterations suffice to catch a pruning that changes the value.
    const uint32_t depths = position.name == "endgame"      ? 4
                            : position.name == "startpos"   ? 3
                            : position.name == "middlegame" ? 2
                                                            : 1;
    for (uint32_t depth = 1; depth <= depths; ++depth) {
        EXPECT_EQ(minimax(board, depth, 0), position.iterations[depth - 1].score) << "depth " << depth;
    }
}

INSTANTIATE_TEST_SUITE_P(Positions, Signature, ::testing::ValuesIn(test_data::search_figures_up_to(5)),
                         [](const ::testing::TestParamInfo<test_data::SearchFigures>& info) {
                             return test_data::test_name(info.param.name);
                         });
}  // namespace
