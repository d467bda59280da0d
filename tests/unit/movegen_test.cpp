// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <iterator>

#include "data/test_data.h"
#include "moves/attacks.h"
#include "moves/movegen.h"
#include "moves/perft.h"
#include "unit/test_support.h"

namespace {
using Texts = std::vector<std::string>;
using Keys = std::vector<int32_t>;

MoveList legal(const std::string& fen) {
    Board board(fen);
    return legal_moves(board);
}

// The castling moves among the legal moves, checking their kind and key.
Texts castlings(const std::string& fen) {
    Texts texts;
    for (const ScoredMove& scored : legal(fen)) {
        if (scored.move.kind != MoveKind::castling) continue;
        EXPECT_EQ(scored.priority, 9748) << fen;
        texts.push_back(scored.move.to_uci());
    }
    return texts;
}

TEST(MoveGeneration, StartPositionOrder) {
    Board board = Board::start_position();
    const MoveList moves = legal_moves(board);
    EXPECT_EQ(uci_texts(moves),
              Texts({"b1a3", "b1c3", "g1f3", "g1h3", "a2a4", "b2b4", "c2c4", "d2d4", "e2e4", "f2f4",
                     "g2g4", "h2h4", "a2a3", "b2b3", "c2c3", "d2d3", "e2e3", "f2f3", "g2g3", "h2h3"}));
    EXPECT_EQ(priorities(moves), Keys({3250, 3250, 3250, 3250, 1001, 1001, 1001, 1001, 1001, 1001,
                                       1001, 1001, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000}));
    EXPECT_EQ(board.to_fen(), Board::start_position().to_fen());
}

TEST(MoveGeneration, KingStepsInDirectionOrder) {
    const MoveList moves = legal("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    EXPECT_EQ(uci_texts(moves), Texts({"e1d1", "e1d2", "e1e2", "e1f1", "e1f2"}));
    EXPECT_EQ(priorities(moves), Keys(5, 9749));
}

TEST(MoveGeneration, PromotionsAreGeneratedByTargetAndSortedByKind) {
    Board board("1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1");
    EXPECT_EQ(uci_texts(pawn_moves(board, sq("a7"))),
              Texts({"a7a8n", "a7a8b", "a7a8r", "a7a8q", "a7b8n", "a7b8b", "a7b8r", "a7b8q"}));
    const MoveList pawn = moves_from(legal_moves(board), "a7");
    EXPECT_EQ(uci_texts(pawn), Texts({"a7a8q", "a7b8q", "a7a8r", "a7b8r", "a7a8n", "a7a8b", "a7b8n", "a7b8b"}));
    EXPECT_EQ(priorities(pawn), Keys({9750, 9750, 5000, 5000, 3250, 3250, 3250, 3250}));
    for (const ScoredMove& scored : pawn) EXPECT_EQ(scored.move.kind, MoveKind::promotion);
}

TEST(MoveGeneration, SliderGoesFarthestFirstThenByDirection) {
    const MoveList moves = legal("7k/8/8/8/8/8/7K/R7 w - - 0 1");
    EXPECT_EQ(uci_texts(moves), Texts({"h2g1", "h2g2", "h2g3", "h2h1", "h2h3", "a1a8", "a1h1", "a1a7", "a1g1", "a1a6",
                                       "a1f1", "a1a5", "a1e1", "a1a4", "a1d1", "a1a3", "a1c1", "a1a2", "a1b1"}));
    EXPECT_EQ(priorities(moves), Keys({9749, 9749, 9749, 9749, 9749, 5007, 5007, 5006, 5006, 5005, 5005, 5004, 5004,
                                       5003, 5003, 5002, 5002, 5001, 5001}));
}

TEST(MoveGeneration, CapturesSortByVictimThenByCapturer) {
    // Six white pieces can take the black queen on d5; White is in check from it.
    const MoveList moves = legal("k7/8/2K5/3q3Q/4PN2/8/B7/3R4 w - - 0 1");
    ASSERT_GE(moves.size(), 6u);
    const MoveList captures(moves.begin(), std::next(moves.begin(), 6));
    EXPECT_EQ(uci_texts(captures), Texts({"e4d5", "a2d5", "f4d5", "d1d5", "h5d5", "c6d5"}));
    EXPECT_EQ(priorities(captures), Keys({97499000, 97496753, 97496750, 97495004, 97490254, 97490251}));
    for (auto it = std::next(moves.begin(), 6); it != moves.end(); ++it) {
        EXPECT_EQ(it->move.from, sq("c6")) << it->move.to_uci();  // only king steps get out of check
        EXPECT_NE(it->move.kind, MoveKind::capture);
    }
}

TEST(MoveGeneration, EnPassantComesBeforeThePush) {
    const MoveList moves = legal("4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1");
    EXPECT_EQ(uci_texts(moves), Texts({"d4e3", "e8d7", "e8d8", "e8e7", "e8f7", "e8f8", "d4d3"}));
    EXPECT_EQ(priorities(moves), Keys({9999000, 9749, 9749, 9749, 9749, 9749, 1000}));
    EXPECT_EQ(moves.front().move.kind, MoveKind::en_passant);
}

TEST(MoveGeneration, CastlingConditions) {
    EXPECT_EQ(castlings("4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1"), Texts({"e1g1", "e1c1"}));
    EXPECT_EQ(castlings("r3k2r/8/8/8/8/8/8/4K3 b kq - 0 1"), Texts({"e8g8", "e8c8"}));
    EXPECT_EQ(castlings("4k3/8/8/8/8/8/8/R3K2R w Q - 0 1"), Texts({"e1c1"}));
    EXPECT_EQ(castlings("4k3/8/8/8/8/8/8/R3K2R w - - 0 1"), Texts());
    EXPECT_EQ(castlings("4k3/8/b7/8/8/8/8/R3K2R w KQ - 0 1"), Texts({"e1c1"}));           // f1 crossed under attack
    EXPECT_EQ(castlings("4k3/8/8/8/8/b7/8/R3K2R w KQ - 0 1"), Texts({"e1g1"}));           // c1 attacked
    EXPECT_EQ(castlings("3rk3/8/8/8/8/8/8/R3K2R w KQ - 0 1"), Texts({"e1g1"}));           // d1 attacked
    EXPECT_EQ(castlings("4k3/8/8/8/8/8/8/RN2K2R w KQ - 0 1"), Texts({"e1g1"}));           // b1 occupied
    EXPECT_EQ(castlings("4k3/8/8/8/8/8/8/R3K1NR w KQ - 0 1"), Texts({"e1c1"}));           // g1 occupied
    EXPECT_EQ(castlings("1r2k3/8/8/8/8/8/8/R3K2R w KQ - 0 1"), Texts({"e1g1", "e1c1"}));  // b1 attacked: allowed
    EXPECT_EQ(castlings("4k2r/8/8/8/8/8/8/R3K2R w KQ - 0 1"), Texts({"e1g1", "e1c1"}));   // h1 attacked: allowed
    EXPECT_EQ(castlings("4k3/8/8/4r3/8/8/8/R3K2R w KQ - 0 1"), Texts());                  // in check
    EXPECT_EQ(castlings("4k3/8/8/8/8/8/8/R2K3R w KQ - 0 1"), Texts());                    // king off e1
    // A right whose rook is missing from its corner gives no move.
    EXPECT_EQ(castlings("4k3/8/8/8/8/8/8/4K3 w KQ - 0 1"), Texts());
    EXPECT_EQ(castlings("4k3/8/8/8/8/8/8/n3K2n w KQ - 0 1"), Texts());
    EXPECT_EQ(castlings("4k3/8/8/8/8/8/R6R/4K3 w KQ - 0 1"), Texts());
    EXPECT_EQ(castlings("r3k2r/8/8/8/8/8/8/4K3 w KQkq - 0 1"), Texts());
}

TEST(MoveGeneration, PinsChecksAndKingContactLimitTheMoves) {
    Board bishop_pinned("4k3/4r3/8/8/8/8/4B3/4K3 w - - 0 1");
    EXPECT_FALSE(bishop_moves(bishop_pinned, sq("e2")).empty());
    EXPECT_TRUE(piece_moves(bishop_pinned, sq("e2")).empty());
    Board rook_pinned("4k3/4r3/8/8/8/8/4R3/4K3 w - - 0 1");
    EXPECT_EQ(uci_texts(piece_moves(rook_pinned, sq("e2"))), Texts({"e2e3", "e2e4", "e2e5", "e2e6", "e2e7"}));
    EXPECT_EQ(uci_texts(legal("8/8/8/8/8/4k3/8/4K3 w - - 0 1")), Texts({"e1d1", "e1f1"}));
    EXPECT_EQ(uci_texts(legal("4k3/8/8/8/8/2N5/3PPP2/r3K3 w - - 0 1")), Texts({"c3b1", "c3d1"}));
    Board in_check_board("4k3/8/8/8/8/2N5/3PPP2/r3K3 w - - 0 1");
    EXPECT_TRUE(leaves_king_attacked(in_check_board, Move(sq("d2"), sq("d3"), MoveKind::quiet)));
    EXPECT_FALSE(leaves_king_attacked(in_check_board, Move(sq("c3"), sq("d1"), MoveKind::quiet)));
    EXPECT_EQ(in_check_board.to_fen(), "4k3/8/8/8/8/2N5/3PPP2/r3K3 w - - 0 1");
}

TEST(MoveGeneration, NoMovesWhenMatedStalematedOrWithoutASide) {
    const Board mated("4k3/8/8/8/8/8/3PPP2/r3K3 w - - 0 1");
    EXPECT_TRUE(legal(mated.to_fen()).empty());
    EXPECT_TRUE(in_check(mated));
    const Board stalemated("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
    EXPECT_TRUE(legal(stalemated.to_fen()).empty());
    EXPECT_FALSE(in_check(stalemated));
    Board nobody;
    EXPECT_TRUE(legal_moves(nobody).empty());
    nobody.add_piece(Piece(Color::white, PieceKind::king), sq("e1"));
    EXPECT_TRUE(legal_moves(nobody).empty());
}

TEST(MoveGeneration, PawnsWithNothingToDoGiveNoMove) {
    // A pawn on its own promotion rank.
    EXPECT_TRUE(moves_from(legal("P3k3/8/8/8/8/8/8/4K3 w - - 0 1"), "a8").empty());
    EXPECT_EQ(legal("P3k3/8/8/8/8/8/8/4K3 w - - 0 1").size(), 5u);
    EXPECT_TRUE(moves_from(legal("4k3/8/8/8/8/8/8/K6p b - - 0 1"), "h1").empty());
    // An en passant square with no opposing pawn behind it, or with its own square taken.
    EXPECT_EQ(uci_texts(moves_from(legal("4k3/8/8/3P4/8/8/8/4K3 w - e6 0 1"), "d5")), Texts({"d5d6"}));
    EXPECT_EQ(uci_texts(moves_from(legal("4k3/8/8/3PP3/8/8/8/4K3 w - e6 0 1"), "d5")), Texts({"d5d6"}));
    EXPECT_EQ(uci_texts(moves_from(legal("4k3/8/8/3P4/8/8/8/4K3 w - e5 0 1"), "d5")), Texts({"d5d6"}));
    const MoveList taken = moves_from(legal("4k3/8/4n3/3Pp3/8/8/8/4K3 w - e6 0 1"), "d5");
    EXPECT_EQ(uci_texts(taken), Texts({"d5e6", "d5d6"}));
    EXPECT_EQ(taken.front().move.kind, MoveKind::capture);
}

// The legal moves among ordered_moves, in its order, are legal_moves' list
// with its keys; ordered_captures are its captures and en passant captures,
// capturing promotions left out; neither changes the board.
TEST(MoveGeneration, OrderedMovesAndCapturesFollowTheLegalListOrder) {
    for (const std::string& fen : std::vector<std::string>{
             test_data::fen("kiwipete"), "k7/8/2K5/3q3Q/4PN2/8/B7/3R4 w - - 0 1", "4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1",
             "1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "rnbqkbnr/pppp1ppp/8/4p3/3P4/8/PPP1PPPP/RNBQKBNR w KQkq - 0 2",
             test_data::fen("endgame"), "4k3/8/8/8/8/8/8/4K3 w - - 0 1", "8/8/8/K2pP2r/8/8/8/4k3 w - d6 0 1",
             "4k3/8/8/8/1b6/8/PPP2PPP/r3K2R w K - 0 1"}) {
        Board board(fen);
        const MoveList legal = legal_moves(board);
        MoveList legal_captures;
        for (const ScoredMove& scored : legal) {
            if (scored.move.kind == MoveKind::capture || scored.move.kind == MoveKind::en_passant) {
                legal_captures.push_back(scored);
            }
        }
        const auto legal_among = [&board](const MoveList& list) {
            MoveList kept;
            for (const ScoredMove& scored : list) {
                if (!leaves_king_attacked(board, scored.move)) kept.push_back(scored);
            }
            return kept;
        };
        const MoveList ordered = ordered_moves(board);
        EXPECT_EQ(ordered.size(), pseudo_legal_moves(board).size()) << fen;
        EXPECT_EQ(uci_texts(legal_among(ordered)), uci_texts(legal)) << fen;
        EXPECT_EQ(priorities(legal_among(ordered)), priorities(legal)) << fen;
        const MoveList captures = ordered_captures(board);
        for (const ScoredMove& scored : captures) {
            EXPECT_TRUE(scored.move.kind == MoveKind::capture || scored.move.kind == MoveKind::en_passant) << fen;
        }
        EXPECT_EQ(uci_texts(legal_among(captures)), uci_texts(legal_captures)) << fen;
        EXPECT_EQ(priorities(legal_among(captures)), priorities(legal_captures)) << fen;
        EXPECT_EQ(board.to_fen(), fen);
    }
    // Equal keys keep the generation order: one knight that can take two pawns.
    Board board("4k3/8/8/2p1p3/8/3N4/8/4K1N1 w - - 0 1");
    EXPECT_EQ(uci_texts(ordered_captures(board)), Texts({"d3c5", "d3e5"}));
    Board promotion("1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1");
    EXPECT_TRUE(ordered_captures(promotion).empty());
    // The en passant capture that would open the rank to the king is generated
    // and then fails the legality test.
    Board exposing("8/8/8/K2pP2r/8/8/8/4k3 w - d6 0 1");
    EXPECT_EQ(uci_texts(ordered_captures(exposing)), Texts({"e5d6"}));
    EXPECT_FALSE(make_legal_move(exposing, ordered_captures(exposing).front().move));
    EXPECT_EQ(exposing.to_fen(), "8/8/8/K2pP2r/8/8/8/4k3 w - d6 0 1");
}

// make_legal_move leaves a legal move made (undone by its record) and an
// illegal one taken back.
TEST(MoveGeneration, MakeLegalMoveKeepsOnlyLegalMoves) {
    const std::string fen = "4k3/8/8/8/8/2N5/3PPP2/r3K3 w - - 0 1";
    Board board(fen);
    EXPECT_FALSE(make_legal_move(board, Move(sq("d2"), sq("d3"), MoveKind::quiet)));
    EXPECT_EQ(board.to_fen(), fen);
    const std::optional<MoveUndo> undo = make_legal_move(board, Move(sq("c3"), sq("d1"), MoveKind::quiet));
    ASSERT_TRUE(undo);
    EXPECT_EQ(board.to_fen(), "4k3/8/8/8/8/8/3PPP2/r2NK3 b - - 0 1");
    unmake_move(board, *undo);
    EXPECT_EQ(board.to_fen(), fen);
}

// Positions that only a FEN can make. Whatever is generated there must be
// playable: perft makes and unmakes every move it lists.
TEST(MoveGeneration, InconsistentPositionsOnlyYieldPlayableMoves) {
    for (const char* fen :
         {"4k3/8/8/8/8/8/8/4K3 w KQkq - 0 1", "r3k2r/8/8/8/8/8/8/4K3 w KQkq - 0 1", "4k3/8/8/8/8/8/8/r3K2r w KQ - 0 1",
          "rn2k1nr/8/8/8/8/8/8/RN2K1NR b KQkq - 0 1", "4k3/8/8/3P4/8/8/8/4K3 w - e6 0 1",
          "4k3/8/8/8/3P4/8/8/4K3 w - e5 0 1", "4k3/8/8/8/4p3/8/3P4/4K3 w - e3 0 1",
          "4k3/8/4n3/3Pp3/8/8/8/4K3 w - e6 0 1", "P3k3/8/8/8/8/8/8/4K2p w - - 0 1", "p3k3/8/8/8/8/8/8/4K2P b - - 0 1",
          "Pp2k3/8/8/8/8/8/8/pP2K3 w - - 0 1", "8/8/8/8/8/8/8/R3K2R w KQkq - 0 1"}) {
        Board board(fen);
        EXPECT_NO_THROW(perft(board, 3)) << fen;
        EXPECT_EQ(board.to_fen(), fen);
    }
}
}  // namespace
