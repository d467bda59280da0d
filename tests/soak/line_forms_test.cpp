// SPDX-License-Identifier: GPL-3.0-or-later
// The soak run's line checks must accept every form the engine writes and
// refuse lines that hold pieces of two.

#include <gtest/gtest.h>

#include "line_forms.h"

namespace {
TEST(SoakLineForms, AcceptTheEnginesLines) {
    EXPECT_TRUE(is_bestmove_line("bestmove e2e4"));
    EXPECT_TRUE(is_bestmove_line("bestmove e7e8q"));
    EXPECT_TRUE(is_bestmove_line("bestmove 0000"));
    EXPECT_TRUE(is_info_line("info depth 1 score cp 0 nps 575842 nodes 41 pv b1a3 "));
    EXPECT_TRUE(is_info_line("info depth 2 score mate -1 nps 0 nodes 9 pv "));
    EXPECT_TRUE(is_info_line("info depth 3 score cp -400 nps 5 nodes 6754 pv c4c5 b2a1q b4a3 "));
    EXPECT_TRUE(is_perft_move_line("b1a3 - 1"));
    EXPECT_TRUE(is_total_line("    Total: 20 nodes"));
    EXPECT_TRUE(is_time_line("    Time: 6.9e-05sec"));
    EXPECT_TRUE(is_performance_line("    Perfomance: 291.5kN/sec"));
    EXPECT_TRUE(is_performance_line("    Perfomance: -nankN/sec"));
    EXPECT_TRUE(is_fen_line("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1"));
    EXPECT_TRUE(is_fen_line("8/8/8/8/8/8/8/8 w - - 0 1"));
    EXPECT_TRUE(is_piece_line("a1, R"));
    EXPECT_TRUE(is_known_error("Can't run another search."));
    EXPECT_TRUE(is_known_error("Bad fen in Piece::from_fen(). ()"));
    EXPECT_TRUE(is_known_error("Bad fen in Piece::from_fen(). (x)"));
}

TEST(SoakLineForms, RefuseMixedAndCutLines) {
    EXPECT_FALSE(is_bestmove_line("bestmove e2e4readyok"));
    EXPECT_FALSE(is_bestmove_line("bestmove e2"));
    EXPECT_FALSE(is_bestmove_line("readybestmove e2e4"));
    EXPECT_FALSE(is_info_line("info depth 1 score cp -100 readnps 213270 nodes 9 pv e8d7 "));
    EXPECT_FALSE(is_info_line("info depth 1 score cp 0 nps 1 nodes 41 pv b1a3 bestmove "));
    EXPECT_FALSE(is_info_line("info depth 1 score cp 0 nps 1 nodes 41 pv b1a3"));
    EXPECT_FALSE(is_perft_move_line("b1a3 - 1readyok"));
    EXPECT_FALSE(is_total_line("    Total: 20 nodesreadyok"));
    EXPECT_FALSE(is_time_line("    Time: 6.9bestmove e2e4sec"));
    EXPECT_FALSE(is_fen_line("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1readyok"));
    EXPECT_FALSE(is_fen_line("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0"));
    EXPECT_FALSE(is_piece_line("a1, Rreadyok"));
    EXPECT_FALSE(is_known_error("Can't run another search.bestmove e2e4"));
    EXPECT_FALSE(is_known_error("Bad fen in Piece::from_fen(). (xreadyok)"));
}
}  // namespace
