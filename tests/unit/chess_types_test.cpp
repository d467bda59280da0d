// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "chess/board.h"
#include "unit/test_support.h"

namespace {
TEST(ColorText, AcceptsBothCasesAndWritesLowerCase) {
    EXPECT_EQ(Color::from_fen("w"), Color::white);
    EXPECT_EQ(Color::from_fen("W"), Color::white);
    EXPECT_EQ(Color::from_fen("b"), Color::black);
    EXPECT_EQ(Color::from_fen("B"), Color::black);
    EXPECT_EQ(Color::from_fen("W").to_fen(), "w");
    EXPECT_EQ(Color::from_fen("B").to_fen(), "b");
    EXPECT_EQ(Color::white.inverse(), Color::black);
    EXPECT_EQ(Color::black.inverse(), Color::white);
    for (const char* bad : {"", "x", "ww", " w", "w ", "white", "-"}) {
        EXPECT_EQ(thrown_message([&] { Color::from_fen(bad); }), "Bad fen color in from_fen()") << bad;
    }
}

TEST(ColorText, NoColourIsRefusedEverywhere) {
    for (const Color none : {Color(), Color(3), Color(-1)}) {
        EXPECT_EQ(thrown_message([&] { none.to_fen(); }), "Bad color in to_fen()");
        EXPECT_EQ(thrown_message([&] { none.inverse(); }), "Bad color in Color::inverse()");
    }
}

TEST(CoordsText, ReadsOnlyTheFirstTwoCharacters) {
    EXPECT_EQ(Coords("a10"), Coords(1, 1));
    EXPECT_EQ(Coords("e4xyz"), Coords(5, 4));
    EXPECT_EQ(Coords(1, 1).to_string(), "a1");
    EXPECT_EQ(Coords(8, 8).to_string(), "h8");
    EXPECT_EQ(Coords(5, 4).to_string(), "e4");
    for (int x = 1; x <= 8; ++x) {
        for (int y = 1; y <= 8; ++y) EXPECT_EQ(Coords(Coords(x, y).to_string()), Coords(x, y));
    }
}

TEST(CoordsText, RefusesSquaresOffTheBoard) {
    for (const char* bad : {"e9", "e0", "i1", "E4", "`1", "4e",
                            "\xff"
                            "1",
                            "a:"}) {
        EXPECT_EQ(thrown_message([&] { Coords{std::string(bad)}; }), "Invalid Coords in constructor") << bad;
    }
    for (const auto& [x, y] : {std::pair{0, 1}, {9, 1}, {1, 0}, {1, 9}, {-1, 5}, {5, 100}}) {
        EXPECT_EQ(thrown_message([&] { Coords(x, y); }), "Invalid Coords in constructor") << x << "," << y;
    }
    EXPECT_EQ(thrown_message<std::out_of_range>([] { Coords{std::string("e")}; }), "invalid string position");
    EXPECT_EQ(thrown_message<std::out_of_range>([] { Coords{std::string()}; }), "invalid string position");
}

TEST(CoordsOrder, SortsRankFirstThenFile) {
    std::vector<Coords> squares;
    for (int x = 8; x >= 1; --x) {
        for (int y = 1; y <= 8; ++y) squares.emplace_back(x, y);
    }
    std::sort(squares.begin(), squares.end());
    std::string names;
    for (const Coords& square : squares) names += square.to_string();
    std::string expected;
    for (char rank = '1'; rank <= '8'; ++rank) {
        for (char file = 'a'; file <= 'h'; ++file) expected += std::string{file, rank};
    }
    EXPECT_EQ(names, expected);
    EXPECT_FALSE(sq("a2") < sq("h1"));
    EXPECT_TRUE(sq("h1") < sq("a2"));
    EXPECT_FALSE(sq("e4") < sq("e4"));
}

TEST(PieceText, TwelveLettersRoundTrip) {
    for (const char* letter : {"p", "n", "b", "r", "q", "k", "P", "N", "B", "R", "Q", "K"}) {
        EXPECT_EQ(Piece::from_fen(letter).to_fen(), letter);
    }
    EXPECT_EQ(Piece::from_fen("b"), Piece(Color::black, PieceKind::bishop));
    EXPECT_EQ(Piece::from_fen("B"), Piece(Color::white, PieceKind::bishop));
    EXPECT_EQ(Piece::from_fen("k"), Piece(Color::black, PieceKind::king));
    EXPECT_EQ(Piece::from_fen("N"), Piece(Color::white, PieceKind::knight));
}

TEST(PieceText, RefusalNamesTheWholeText) {
    EXPECT_EQ(thrown_message([] { Piece::from_fen("Kk"); }), "Bad fen in Piece::from_fen(). (Kk)");
    EXPECT_EQ(thrown_message([] { Piece::from_fen(""); }), "Bad fen in Piece::from_fen(). ()");
    EXPECT_EQ(thrown_message([] { Piece::from_fen("0"); }), "Bad fen in Piece::from_fen(). (0)");
    EXPECT_EQ(thrown_message([] { Piece::from_fen("x"); }), "Bad fen in Piece::from_fen(). (x)");
    for (const Piece bad : {Piece(), Piece(Color::white, PieceKind(7)), Piece(Color(), PieceKind::king),
                            Piece(Color::black, PieceKind::none)}) {
        EXPECT_EQ(thrown_message([&] { bad.to_fen(); }), "Bad piece in Piece::to_fen()");
    }
}

TEST(Placement, SquareOperationsRefuseMisfitsAndKeepTheMap) {
    Board board;
    const Piece white_rook(Color::white, PieceKind::rook);
    const Piece black_queen(Color::black, PieceKind::queen);
    board.add_piece(white_rook, sq("e4"));
    EXPECT_EQ(thrown_message([&] { board.add_piece(black_queen, sq("e4")); }),
              "Trying to add piece in nonempty square");
    EXPECT_EQ(board.get_piece(sq("e4")), white_rook);
    EXPECT_EQ(board.pieces.size(), 1u);
    EXPECT_EQ(thrown_message([&] { board.remove_piece(sq("e5")); }), "Trying to remove piece from empty square");
    EXPECT_EQ(thrown_message([&] { board.get_piece(sq("e5")); }), "Trying to get piece from empty square");
    EXPECT_EQ(board.pieces.size(), 1u);
    board.remove_piece(sq("e4"));
    EXPECT_FALSE(board.has_piece(sq("e4")));
    EXPECT_TRUE(board.pieces.empty());
}

// An entry handed out for a read and a later removal stays valid while other
// squares are filled and emptied in between, as moving a piece needs.
TEST(Placement, OccupiedEntrySurvivesOtherSquaresChanging) {
    Board board = Board::start_position();
    EXPECT_EQ(thrown_message([&] { board.occupied_entry(sq("e4")); }), "Trying to get piece from empty square");
    EXPECT_EQ(board.pieces.size(), 32u);
    const auto knight = board.occupied_entry(sq("g1"));
    EXPECT_EQ(knight->second, Piece(Color::white, PieceKind::knight));
    board.add_piece(knight->second, sq("f3"));
    board.remove_piece(sq("e2"));
    board.add_piece(Piece(Color::white, PieceKind::pawn), sq("e4"));
    board.remove_entry(knight);
    EXPECT_FALSE(board.has_piece(sq("g1")));
    EXPECT_FALSE(board.has_piece(sq("e2")));
    EXPECT_EQ(board.get_piece(sq("f3")), Piece(Color::white, PieceKind::knight));
    EXPECT_EQ(board.to_fen(), "rnbqkbnr/pppppppp/8/8/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 0 1");
}

TEST(Placement, WalksInSquareOrder) {
    Board board;
    board.add_piece(Piece(Color::black, PieceKind::pawn), sq("a2"));
    board.add_piece(Piece(Color::white, PieceKind::king), sq("h1"));
    ASSERT_EQ(board.pieces.size(), 2u);
    EXPECT_EQ(board.pieces.begin()->first, sq("h1"));
    EXPECT_EQ(std::next(board.pieces.begin())->first, sq("a2"));
}

TEST(Placement, LineFreeTestsOnlyTheSquaresBetween) {
    Board board;
    const Piece knight(Color::white, PieceKind::knight);
    board.add_piece(Piece(Color::white, PieceKind::king), sq("e1"));
    board.add_piece(knight, sq("g1"));
    board.add_piece(knight, sq("b1"));
    EXPECT_TRUE(board.is_line_free(sq("e1"), sq("g1")));  // the destination is not tested
    EXPECT_TRUE(board.is_line_free(sq("e1"), sq("c1")));  // b1 lies beyond c1
    EXPECT_TRUE(board.is_line_free(sq("e1"), sq("e1")));
    board.add_piece(knight, sq("f1"));
    board.add_piece(knight, sq("d1"));
    EXPECT_FALSE(board.is_line_free(sq("e1"), sq("g1")));
    EXPECT_FALSE(board.is_line_free(sq("e1"), sq("c1")));
    EXPECT_TRUE(board.is_line_free(sq("e1"), sq("f1")));
}

TEST(CastlingRights, TextIsReadInAnyOrderAndWrittenAsKQkq) {
    EXPECT_EQ(RookingPosibility::from_fen("qkQK").to_fen(), "KQkq");
    EXPECT_EQ(RookingPosibility::from_fen("kQ").to_fen(), "Qk");
    EXPECT_EQ(RookingPosibility::from_fen("-").to_fen(), "-");
    EXPECT_EQ(RookingPosibility::from_fen("").to_fen(), "-");
    EXPECT_EQ(RookingPosibility().to_fen(), "-");
    const RookingPosibility q = RookingPosibility::from_fen("q");
    EXPECT_TRUE(q.black_queen_side);
    EXPECT_FALSE(q.white_king_side || q.white_queen_side || q.black_king_side);
    for (const char* bad : {"KK", "KQx", "--", "K-", "x", "KQkqK", "kq "}) {
        EXPECT_EQ(thrown_message([&] { RookingPosibility::from_fen(bad); }), "Bad fen in RookingPosibility::from_fen()")
            << bad;
    }
}
}  // namespace
