// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "chess/board.h"
#include "unit/test_support.h"

namespace {
int32_t evaluate(const std::string& fen) { return Board(fen).evaluate(); }

TEST(Evaluation, PieceValuesIgnoreColour) {
    const std::pair<PieceKind, int32_t> table[] = {{PieceKind::pawn, 1000},   {PieceKind::knight, 3250},
                                                   {PieceKind::bishop, 3250}, {PieceKind::rook, 5000},
                                                   {PieceKind::queen, 9750},  {PieceKind::king, 0}};
    for (const auto& [kind, value] : table) {
        EXPECT_EQ(Piece(Color::white, kind).value(), value);
        EXPECT_EQ(Piece(Color::black, kind).value(), value);
    }
    EXPECT_EQ(Piece().value(), 0);
}

TEST(Evaluation, MaterialBalanceFromTheSideToMove) {
    EXPECT_EQ(evaluate("4k3/8/8/8/8/8/8/4K3 w - - 0 1"), 0);
    EXPECT_EQ(evaluate("4k3/8/8/8/8/8/8/4K3 b - - 0 1"), 0);
    EXPECT_EQ(Board::start_position().evaluate(), 0);
    EXPECT_EQ(Board::empty_board().evaluate(), 0);
    EXPECT_EQ(evaluate("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1"), 0);
    EXPECT_EQ(evaluate("rnb1kbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"), 9750);
    EXPECT_EQ(evaluate("rnb1kbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1"), -9750);
    EXPECT_EQ(evaluate("4k3/8/8/3b4/8/8/8/1N2K3 w - - 0 1"), 0);
    EXPECT_EQ(evaluate("4k3/8/8/3b4/8/8/8/1N2K3 b - - 0 1"), 0);
    // Where the pieces stand plays no part.
    EXPECT_EQ(evaluate("4k3/8/8/8/8/8/8/R3K3 w - - 0 1"), evaluate("4k3/8/8/8/3R4/8/8/4K3 w - - 0 1"));
    // Black has everything, White a bare king: 8 pawns, 2 knights, 2 bishops, 2 rooks and a queen.
    EXPECT_EQ(evaluate("rnbqkbnr/pppppppp/8/8/8/8/8/4K3 w kq - 0 1"), -40750);
    EXPECT_EQ(evaluate("rnbqkbnr/pppppppp/8/8/8/8/8/4K3 b kq - 0 1"), 40750);
}
}  // namespace
