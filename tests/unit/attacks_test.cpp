// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "moves/attacks.h"
#include "unit/test_support.h"

namespace {
// The squares that `attacker` attacks on the board of `fen`, as names.
std::set<std::string> attacked_squares(const std::string& fen, Color attacker) {
    const Board board(fen);
    std::set<std::string> squares;
    for (int x = 1; x <= 8; ++x) {
        for (int y = 1; y <= 8; ++y) {
            if (is_attacked(board, Coords(x, y), attacker)) squares.insert(Coords(x, y).to_string());
        }
    }
    return squares;
}

using Squares = std::set<std::string>;

TEST(Attacks, SlidersStopAtTheFirstPieceOfEitherColour) {
    EXPECT_EQ(attacked_squares("8/8/8/8/8/8/8/R7 w - - 0 1", Color::white),
              Squares({"a2", "a3", "a4", "a5", "a6", "a7", "a8", "b1", "c1", "d1", "e1", "f1", "g1", "h1"}));
    for (const char* blocker : {"P", "p"}) {
        const Board board("8/8/8/8/" + std::string(blocker) + "7/8/8/R7 w - - 0 1");
        EXPECT_TRUE(is_attacked(board, sq("a4"), Color::white)) << blocker;
        EXPECT_FALSE(is_attacked(board, sq("a5"), Color::white)) << blocker;
        EXPECT_FALSE(is_attacked(board, sq("a8"), Color::white)) << blocker;
        EXPECT_TRUE(is_attacked(board, sq("h1"), Color::white)) << blocker;
    }
    EXPECT_EQ(attacked_squares("8/8/8/8/8/8/1p6/B7 w - - 0 1", Color::white), Squares({"b2"}));
}

TEST(Attacks, EachSliderUsesOnlyItsOwnLines) {
    const Board bishop("8/8/8/8/3b4/8/8/8 w - - 0 1");
    EXPECT_TRUE(is_attacked(bishop, sq("a1"), Color::black));
    EXPECT_TRUE(is_attacked(bishop, sq("h8"), Color::black));
    EXPECT_TRUE(is_attacked(bishop, sq("g1"), Color::black));
    EXPECT_FALSE(is_attacked(bishop, sq("d8"), Color::black));
    EXPECT_FALSE(is_attacked(bishop, sq("h4"), Color::black));
    EXPECT_FALSE(is_attacked(bishop, sq("a1"), Color::white));
    const Board rook("8/8/8/8/3r4/8/8/8 w - - 0 1");
    EXPECT_TRUE(is_attacked(rook, sq("d8"), Color::black));
    EXPECT_TRUE(is_attacked(rook, sq("a4"), Color::black));
    EXPECT_FALSE(is_attacked(rook, sq("e5"), Color::black));
    EXPECT_FALSE(is_attacked(rook, sq("h8"), Color::black));
    const Board queen("8/8/8/8/3q4/8/8/8 w - - 0 1");
    for (const char* target : {"d8", "a4", "h8", "a1", "g1", "d1", "h4", "a7"}) {
        EXPECT_TRUE(is_attacked(queen, sq(target), Color::black)) << target;
    }
    EXPECT_FALSE(is_attacked(queen, sq("e6"), Color::black));
    EXPECT_FALSE(is_attacked(queen, sq("c2"), Color::black));
}

TEST(Attacks, FirstPieceOnALineDecides) {
    // A rook behind a bishop on a file, a queen behind a knight on a diagonal:
    // the piece in front blocks even though it has the attacker's colour.
    EXPECT_FALSE(is_attacked(Board("8/8/8/8/8/8/B7/R7 w - - 0 1"), sq("a8"), Color::white));
    EXPECT_FALSE(is_attacked(Board("8/8/8/8/8/8/1N6/Q7 w - - 0 1"), sq("h8"), Color::white));
    EXPECT_TRUE(is_attacked(Board("8/8/8/8/8/8/1B6/Q7 w - - 0 1"), sq("h8"), Color::white));
    // A king two steps away attacks nothing there; a pawn in front does not attack along the file.
    EXPECT_FALSE(is_attacked(Board("8/8/8/8/8/8/8/K7 w - - 0 1"), sq("a3"), Color::white));
    EXPECT_FALSE(is_attacked(Board("8/8/8/8/8/P7/8/R7 w - - 0 1"), sq("a5"), Color::white));
    // The piece on the square itself plays no part.
    EXPECT_TRUE(is_attacked(Board("R7/8/8/8/8/8/8/R7 w - - 0 1"), sq("a8"), Color::white));
}

TEST(Attacks, PawnsAttackForwardDiagonallyOnly) {
    EXPECT_EQ(attacked_squares("8/8/8/8/4P3/8/8/8 w - - 0 1", Color::white), Squares({"d5", "f5"}));
    EXPECT_EQ(attacked_squares("8/8/8/4p3/8/8/8/8 w - - 0 1", Color::black), Squares({"d4", "f4"}));
    EXPECT_EQ(attacked_squares("8/8/8/8/P6P/8/8/8 w - - 0 1", Color::white), Squares({"b5", "g5"}));
    EXPECT_EQ(attacked_squares("8/8/8/p6p/8/8/8/8 w - - 0 1", Color::black), Squares({"b4", "g4"}));
    EXPECT_TRUE(attacked_squares("8/8/8/8/4P3/8/8/8 w - - 0 1", Color::black).empty());
}

TEST(Attacks, KnightsAndKingsReachTheirSquaresOverAnything) {
    EXPECT_EQ(attacked_squares("8/8/8/8/8/8/8/6N1 w - - 0 1", Color::white), Squares({"e2", "f3", "h3"}));
    EXPECT_EQ(attacked_squares("8/8/8/2ppp3/2pNp3/2ppp3/8/8 w - - 0 1", Color::white),
              Squares({"b3", "b5", "c2", "c6", "e2", "e6", "f3", "f5"}));
    EXPECT_EQ(attacked_squares("8/8/8/8/3n4/8/8/8 w - - 0 1", Color::black),
              Squares({"b3", "b5", "c2", "c6", "e2", "e6", "f3", "f5"}));
    EXPECT_EQ(attacked_squares("8/8/8/8/3k4/8/8/8 w - - 0 1", Color::black),
              Squares({"c3", "c4", "c5", "d3", "d5", "e3", "e4", "e5"}));
    EXPECT_EQ(attacked_squares("8/8/8/8/8/8/8/K7 w - - 0 1", Color::white), Squares({"a2", "b1", "b2"}));
}

TEST(Attacks, CheckLooksForTheKingOfTheColourAsked) {
    const Board mated("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3");
    EXPECT_TRUE(in_check(mated));
    EXPECT_TRUE(in_check(mated, Color::white));
    EXPECT_FALSE(in_check(mated, Color::black));
    Board black_to_move = mated;
    black_to_move.side_to_move = Color::black;
    EXPECT_FALSE(in_check(black_to_move));
    EXPECT_FALSE(in_check(Board("8/8/8/8/8/8/8/r6R w - - 0 1"), Color::white));  // no king, no check
    EXPECT_FALSE(in_check(Board()));
    Board no_side;
    no_side.add_piece(Piece(Color::white, PieceKind::king), sq("e1"));
    no_side.add_piece(Piece(Color::black, PieceKind::rook), sq("e8"));
    EXPECT_FALSE(in_check(no_side));
    EXPECT_TRUE(in_check(no_side, Color::white));
}

TEST(Attacks, AttackerMustBeAColour) {
    const Board board = Board::start_position();
    EXPECT_EQ(thrown_message([&] { is_attacked(board, sq("e4"), Color()); }), "Bad color in Color::inverse()");
}
}  // namespace
