// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "data/test_data.h"
#include "moves/make_move.h"
#include "moves/move.h"
#include "moves/movegen.h"
#include "unit/test_support.h"

namespace {
struct Played {
    const char* before;
    const char* move;
    const char* after;
};

// Makes each move from its FEN, compares the whole position (placement, side,
// castling, en passant, counters) with the expected one, then unmakes it and
// compares with the FEN it started from.
void expect_round_trips(const std::vector<Played>& cases) {
    for (const Played& played : cases) {
        Board board(played.before);
        const MoveUndo undo = make_move(board, Move::from_uci(board, played.move));
        EXPECT_EQ(board.to_fen(), played.after) << played.move << " from " << played.before;
        unmake_move(board, undo);
        EXPECT_EQ(board.to_fen(), played.before) << "after unmaking " << played.move;
    }
}

TEST(MakeUnmake, EveryKindIsMadeAndTakenBack) {
    expect_round_trips({
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "g1f3",
         "rnbqkbnr/pppppppp/8/8/8/5N2/PPPPPPPP/RNBQKB1R b KQkq - 0 1"},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "e2e4",
         "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1"},
        {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1", "e7e5",
         "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 1"},
        {"rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 1", "g1f3",
         "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 0 1"},
        {"rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 2", "e4d5",
         "rnbqkbnr/ppp1pppp/8/3P4/8/8/PPPP1PPP/RNBQKBNR b KQkq - 0 2"},
        {"4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "e5d6", "4k3/8/3P4/8/8/8/8/4K3 b - - 0 1"},
        {"4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1", "d4e3", "4k3/8/8/8/8/4p3/8/4K3 w - - 0 1"},
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1g1", "r3k2r/8/8/8/8/8/8/R4RK1 b kq - 0 1"},
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1c1", "r3k2r/8/8/8/8/8/8/2KR3R b kq - 0 1"},
        {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "e8g8", "r4rk1/8/8/8/8/8/8/R3K2R w KQ - 0 1"},
        {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "e8c8", "2kr3r/8/8/8/8/8/8/R3K2R w KQ - 0 1"},
        {"4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7a8n", "N3k3/8/8/8/8/8/8/4K3 b - - 0 1"},
        {"1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7b8q", "1Q2k3/8/8/8/8/8/8/4K3 b - - 0 1"},
        {"4k3/8/8/8/8/8/8/4K3 w - - 17 42", "e1e2", "4k3/8/8/8/8/8/4K3/8 b - - 17 42"},
    });
}

TEST(MakeUnmake, CastlingRightsAreClearedByTheMovesThatLoseThem) {
    expect_round_trips({
        // A king move, castling or not, clears both rights of its colour.
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1f1", "r3k2r/8/8/8/8/8/8/R4K1R b kq - 0 1"},
        // A rook leaving its corner clears that corner's right.
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "a1b1", "r3k2r/8/8/8/8/8/8/1R2K2R b Kkq - 0 1"},
        {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "h8h5", "r3k3/8/8/7r/8/8/8/R3K2R w KQq - 0 1"},
        // A rook captured on its own corner takes the right with it.
        {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "h8h1", "r3k3/8/8/8/8/8/8/R3K2r w Qq - 0 1"},
        {"r3k3/8/8/8/8/8/8/Q3K3 w q - 0 1", "a1a8", "Q3k3/8/8/8/8/8/8/4K3 b - - 0 1"},
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "a1a8", "R3k2r/8/8/8/8/8/8/4K2R b Kk - 0 1"},
        {"4k3/8/8/8/8/8/6p1/4K2R b K - 0 1", "g2h1q", "4k3/8/8/8/8/8/8/4K2q w - - 0 1"},
        // A white rook captured on a8 is not the rook of the a8 right.
        {"R3k2r/8/8/q7/8/8/8/R3K2R b KQkq - 0 1", "a5a8", "q3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"},
        // Leaving a corner counts whatever the rook's colour.
        {"R3k2r/8/8/8/8/8/8/4K3 w kq - 0 1", "a8a7", "4k2r/R7/8/8/8/8/8/4K3 b k - 0 1"},
        // A piece other than a rook leaving a corner clears nothing.
        {"r3k2r/8/8/8/8/8/8/R3K2N w Qkq - 0 1", "h1g3", "r3k2r/8/8/8/8/6N1/8/R3K3 b Qkq - 0 1"},
    });
}

TEST(MakeUnmake, NestedMovesUnwindInReverseOrder) {
    Board board = Board::start_position();
    std::vector<std::string> fens;
    std::vector<MoveUndo> undos;
    for (const char* text : {"e2e4", "g8f6", "e4e5", "d7d5", "e5d6", "e7d6", "g1f3", "f8e7", "f1c4", "e8g8", "e1g1"}) {
        fens.push_back(board.to_fen());
        undos.push_back(make_move(board, Move::from_uci(board, text)));
    }
    EXPECT_EQ(board.to_fen(), "rnbq1rk1/ppp1bppp/3p1n2/8/2B5/5N2/PPPP1PPP/RNBQ1RK1 b - - 0 1");
    while (!undos.empty()) {
        unmake_move(board, undos.back());
        undos.pop_back();
        EXPECT_EQ(board.to_fen(), fens.back());
        fens.pop_back();
    }
}

// Every legal line of `depth` moves, made and unmade, gives back the position.
void expect_every_line_restores(Board& board, int depth) {
    const std::string before = board.to_fen();
    for (const ScoredMove& scored : legal_moves(board)) {
        const MoveUndo undo = make_move(board, scored.move);
        if (depth > 1) expect_every_line_restores(board, depth - 1);
        unmake_move(board, undo);
        ASSERT_EQ(board.to_fen(), before) << scored.move.to_uci();
    }
}

TEST(MakeUnmake, EveryLegalLineRestoresThePosition) {
    for (const std::string& fen :
         std::vector<std::string>{test_data::fen("kiwipete"), test_data::fen("promotions"),
                                  "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3"}) {
        Board board(fen);
        expect_every_line_restores(board, 3);
    }
}

struct Misfit {
    const char* fen;
    Move move;
    const char* message;
};

TEST(MakeUnmake, MoveThatDoesNotFitThrowsAndLeavesTheBoardAlone) {
    const std::string start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    const std::string get = "Trying to get piece from empty square";
    const std::string add = "Trying to add piece in nonempty square";
    const std::vector<Misfit> misfits = {
        {start.c_str(), Move(sq("e3"), sq("e4"), MoveKind::quiet), get.c_str()},
        {start.c_str(), Move(sq("e1"), sq("e2"), MoveKind::quiet), add.c_str()},
        {start.c_str(), Move(sq("d1"), sq("d2"), MoveKind::double_push), add.c_str()},
        {start.c_str(), Move(sq("e2"), sq("e4"), MoveKind::capture), get.c_str()},
        {start.c_str(), Move(sq("e4"), sq("e7"), MoveKind::capture), get.c_str()},
        {"4k3/8/8/4P3/8/8/8/4K3 w - d6 0 1", Move(sq("e5"), sq("d6"), MoveKind::en_passant), get.c_str()},
        {"4k3/8/3n4/3pP3/8/8/8/4K3 w - d6 0 1", Move(sq("e5"), sq("d6"), MoveKind::en_passant), add.c_str()},
        {"4k3/8/8/8/8/8/8/4K3 w KQ - 0 1", Move(sq("e1"), sq("g1"), MoveKind::castling), get.c_str()},
        {"4k3/8/8/8/8/8/8/7R w K - 0 1", Move(sq("e1"), sq("g1"), MoveKind::castling), get.c_str()},
        {"4k3/8/8/8/8/8/8/4KB1R w K - 0 1", Move(sq("e1"), sq("g1"), MoveKind::castling), add.c_str()},
        {"4k3/8/8/8/8/8/8/4K1NR w K - 0 1", Move(sq("e1"), sq("g1"), MoveKind::castling), add.c_str()},
        {"4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1", Move(sq("e1"), sq("d1"), MoveKind::castling),
         "Invalid Coords in constructor"},
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", Move(sq("a7"), sq("a8"), PieceKind::queen, MoveKind::promotion), get.c_str()},
    };
    for (const Misfit& misfit : misfits) {
        Board board(misfit.fen);
        EXPECT_EQ(thrown_message([&] { make_move(board, misfit.move); }), misfit.message)
            << misfit.move.to_uci() << " on " << misfit.fen;
        EXPECT_EQ(board.to_fen(), misfit.fen) << misfit.move.to_uci();
    }
}

TEST(MakeUnmake, OddMovesFailCleanlyNamingTheMove) {
    Board board = Board::start_position();
    const std::string start = board.to_fen();
    const std::string self_capture =
        thrown_message([&] { make_move(board, Move(sq("e2"), sq("e2"), MoveKind::capture)); });
    EXPECT_NE(self_capture.find("e2e2"), std::string::npos) << self_capture;
    EXPECT_EQ(board.to_fen(), start);

    Board no_square("4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1");
    const std::string no_en_passant =
        thrown_message([&] { make_move(no_square, Move(sq("e5"), sq("d6"), MoveKind::en_passant)); });
    EXPECT_NE(no_en_passant.find("e5d6"), std::string::npos) << no_en_passant;
    EXPECT_EQ(no_square.to_fen(), "4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1");

    Board no_colour;
    no_colour.add_piece(Piece(Color::white, PieceKind::king), sq("e1"));
    EXPECT_EQ(thrown_message([&] { make_move(no_colour, Move(sq("e1"), sq("e2"), MoveKind::quiet)); }),
              "Bad color in Color::inverse()");
    EXPECT_TRUE(no_colour.has_piece(sq("e1")));
    EXPECT_FALSE(no_colour.has_piece(sq("e2")));
    EXPECT_EQ(no_colour.side_to_move, Color());
}
}  // namespace
