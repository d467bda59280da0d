// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <stdexcept>

#include "moves/make_move.h"
#include "moves/move.h"
#include "unit/test_support.h"

namespace {
MoveKind kind_of(const std::string& fen, const std::string& text) { return Move::from_uci(Board(fen), text).kind; }

TEST(MoveText, WritesSquaresAndThePromotionLetter) {
    EXPECT_EQ(Move().to_uci(), "a1a1");
    EXPECT_EQ(Move().kind, MoveKind::none);
    EXPECT_EQ(Move(sq("a7"), sq("a8"), PieceKind::knight, MoveKind::promotion).to_uci(), "a7a8n");
    EXPECT_EQ(Move(sq("b2"), sq("c1"), PieceKind::bishop, MoveKind::promotion).to_uci(), "b2c1b");
    EXPECT_EQ(Move(sq("h7"), sq("h8"), PieceKind::rook, MoveKind::promotion).to_uci(), "h7h8r");
    EXPECT_EQ(Move(sq("e7"), sq("e8"), PieceKind::queen, MoveKind::promotion).to_uci(), "e7e8q");
    EXPECT_EQ(Move(sq("e1"), sq("g1"), MoveKind::castling).to_uci(), "e1g1");
    EXPECT_EQ(Move(sq("e2"), sq("e4"), PieceKind::queen, MoveKind::double_push).to_uci(), "e2e4");
}

TEST(MoveText, ClassifiesPawnAndPieceMovesFromTheStart) {
    Board board = Board::start_position();
    EXPECT_EQ(Move::from_uci(board, "e2e4").kind, MoveKind::double_push);
    EXPECT_EQ(Move::from_uci(board, "e2e3").kind, MoveKind::quiet);
    EXPECT_EQ(Move::from_uci(board, "g1f3").kind, MoveKind::quiet);
    EXPECT_EQ(Move::from_uci(board, "e2d4").kind, MoveKind::double_push);  // the files need not match
    EXPECT_EQ(Move::from_uci(board, "e7e5").kind, MoveKind::double_push);  // whoever is to move
    EXPECT_EQ(Move::from_uci(board, "d1d7").kind, MoveKind::capture);      // any occupied target, own colour too
    EXPECT_EQ(Move::from_uci(board, "d1d2").kind, MoveKind::capture);
    const Move parsed = Move::from_uci(board, "g1f3");
    EXPECT_EQ(parsed.from, sq("g1"));
    EXPECT_EQ(parsed.to, sq("f3"));
    EXPECT_EQ(parsed.promotion, PieceKind::none);
    make_move(board, Move::from_uci(board, "e2e4"));
    make_move(board, Move::from_uci(board, "d7d5"));
    EXPECT_EQ(Move::from_uci(board, "e4d5").kind, MoveKind::capture);
}

TEST(MoveText, CastlingDependsOnThePieceAndFilesOnly) {
    const std::string king = "4k3/8/8/8/8/8/8/4K3 w - - 0 1";
    EXPECT_EQ(kind_of(king, "e1g1"), MoveKind::castling);
    EXPECT_EQ(kind_of(king, "e1c1"), MoveKind::castling);
    EXPECT_EQ(kind_of(king, "e1f1"), MoveKind::quiet);
    EXPECT_EQ(kind_of(king, "e8g8"), MoveKind::castling);
    EXPECT_EQ(kind_of("4k3/8/8/8/4K3/8/8/8 w - - 0 1", "e4g4"), MoveKind::castling);
    EXPECT_EQ(kind_of("4k3/8/8/8/8/8/8/3K4 w - - 0 1", "d1b1"), MoveKind::quiet);
    EXPECT_EQ(kind_of("4k3/8/8/8/8/8/8/4R1K1 w - - 0 1", "e1g1"), MoveKind::capture);
    EXPECT_EQ(kind_of("4k3/8/8/8/8/8/8/4R3 w - - 0 1", "e1g1"), MoveKind::quiet);
    EXPECT_EQ(kind_of("4k3/8/8/8/8/8/8/4R3 w - - 0 1", "e1c1"), MoveKind::quiet);
}

TEST(MoveText, DoublePushBelongsToThePawnsOwnStartRank) {
    const std::string fen = "4k3/1P2p3/8/8/8/8/4p3/4K3 b - - 0 1";
    EXPECT_EQ(kind_of(fen, "e7e5"), MoveKind::double_push);
    EXPECT_EQ(kind_of(fen, "e7e6"), MoveKind::quiet);
    EXPECT_EQ(kind_of(fen, "b7b5"), MoveKind::quiet);  // a white pawn on rank 7
    EXPECT_EQ(kind_of(fen, "e2e4"), MoveKind::quiet);  // a black pawn on rank 2
}

TEST(MoveText, EnPassantNeedsTheSquareAndAnOpposingPawnBehindIt) {
    EXPECT_EQ(kind_of("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "e5d6"), MoveKind::en_passant);
    EXPECT_EQ(kind_of("4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1", "e5d6"), MoveKind::quiet);
    EXPECT_EQ(kind_of("4k3/8/8/3PP3/8/8/8/4K3 w - d6 0 1", "e5d6"), MoveKind::quiet);
    EXPECT_EQ(kind_of("4k3/8/8/3nP3/8/8/8/4K3 w - d6 0 1", "e5d6"), MoveKind::quiet);
    EXPECT_EQ(kind_of("4k3/8/8/4P3/8/8/8/4K3 w - d6 0 1", "e5d6"), MoveKind::quiet);
    EXPECT_EQ(kind_of("4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1", "d4e3"), MoveKind::en_passant);
    EXPECT_EQ(kind_of("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "d5d6"), MoveKind::quiet);  // the pawn behind is its own
}

TEST(MoveText, PromotionTakesAnyPieceLetterForItsKind) {
    const std::string fen = "3r1k2/4P3/8/8/8/8/3p4/4K3 w - - 0 1";
    for (const char* text : {"e7e8q", "e7e8Q", "e7e8q123"}) {
        const Move move = Move::from_uci(Board(fen), text);
        EXPECT_EQ(move.kind, MoveKind::promotion) << text;
        EXPECT_EQ(move.promotion, PieceKind::queen) << text;
    }
    EXPECT_EQ(Move::from_uci(Board(fen), "e7e8n").promotion, PieceKind::knight);
    EXPECT_EQ(Move::from_uci(Board(fen), "e7e8k").promotion, PieceKind::king);  // taken as read
    const Move capturing = Move::from_uci(Board(fen), "e7d8r");
    EXPECT_EQ(capturing.kind, MoveKind::promotion);
    EXPECT_EQ(capturing.promotion, PieceKind::rook);
    EXPECT_EQ(Move::from_uci(Board(fen), "d2d1b").kind, MoveKind::promotion);
    EXPECT_EQ(thrown_message([&] { Move::from_uci(Board(fen), "e7e8"); }), "Bad fen in Piece::from_fen(). ()");
    EXPECT_EQ(thrown_message([&] { Move::from_uci(Board(fen), "e7e8x"); }), "Bad fen in Piece::from_fen(). (x)");
}

TEST(MoveText, ReadingFailuresKeepTheirMessagesAndChangeNothing) {
    Board board = Board::start_position();
    const std::string before = board.to_fen();
    for (const char* short_text : {"", "e", "e2", "e2e"}) {
        EXPECT_EQ(thrown_message<std::out_of_range>([&] { Move::from_uci(board, short_text); }),
                  "invalid string position")
            << short_text;
    }
    EXPECT_EQ(thrown_message([&] { Move::from_uci(board, "i2i4"); }), "Invalid Coords in constructor");
    EXPECT_EQ(thrown_message([&] { Move::from_uci(board, "E2E4"); }), "Invalid Coords in constructor");
    EXPECT_EQ(thrown_message([&] { Move::from_uci(board, "e2e9"); }), "Invalid Coords in constructor");
    EXPECT_EQ(thrown_message([&] { Move::from_uci(board, "e3e4"); }), "Trying to get piece from empty square");
    EXPECT_EQ(board.to_fen(), before);
}
}  // namespace
