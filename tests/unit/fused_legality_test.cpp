// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "moves/perft.h"
#include "search/search.h"
#include "search/search_control.h"
#include "unit/reference_search.h"
#include "unit/test_support.h"

// The search and perft test each move for legality when they make it, instead
// of asking legal_moves for the whole list first. These positions are full of
// pseudo-legal moves that fail the test; on each, the engine must count,
// score and order exactly as the reference built on legal_moves does.
namespace {
using namespace reference;

struct Position {
    const char* name;
    const char* fen;
};

void PrintTo(const Position& position, std::ostream* out) { *out << position.name; }

const Position positions[] = {
    // White is in double check (rook a1, bishop b4): only Ke2 is legal.
    {"double_check", "4k3/8/8/8/1b6/8/PPP2PPP/r3K2R w K - 0 1"},
    // The rook and bishop are pinned along their lines, the knight entirely.
    {"pins", "4r2k/8/8/b7/7q/8/3BRN2/4K3 w - - 0 1"},
    // exd6 en passant would take both pawns off the fifth rank and expose the king.
    {"en_passant_exposes_king", "8/8/8/K2pP2r/8/8/8/4k3 w - d6 0 1"},
    // Only the knight's blocks end the rook's check.
    {"check_blocks", "4k3/8/8/8/8/2N5/3PPP2/r3K3 w - - 0 1"},
    // Mated, with every pseudo-legal move illegal.
    {"fools_mate", "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3"},
    {"smothered_mate", "6rk/5Npp/8/8/8/8/8/6K1 b - - 0 1"},
    // Stalemated: the pinned knight and the king have pseudo-legal moves only.
    {"pinned_stalemate", "kn5R/P7/1K6/8/8/8/8/8 b - - 0 1"},
};

class FusedLegality : public testing::TestWithParam<Position> {
protected:
    ~FusedLegality() override { current_position = Board(); }
    SearchState state;
};

TEST_P(FusedLegality, PerftCountsAndDivideOrderAreTheReferences) {
    const std::string fen = GetParam().fen;
    Board board(fen);
    for (uint32_t depth = 1; depth <= 4; ++depth) {
        EXPECT_EQ(perft(board, depth), legal_perft(board, depth)) << "depth " << depth;
        ASSERT_EQ(board.to_fen(), fen);
    }
    std::vector<std::string> expected;
    for (const ScoredMove& scored : legal_moves(board)) {
        const MoveUndo undo = make_move(board, scored.move);
        expected.push_back(scored.move.to_uci() + " - " + std::to_string(legal_perft(board, 2)));
        unmake_move(board, undo);
    }
    current_position = board;
    CapturedOutput output;
    perft_divide(3);
    EXPECT_EQ(output.lines(), expected);
    EXPECT_EQ(current_position.to_fen(), fen);
}

// Full window: the same score, nodes and line. Narrow windows, where cut-offs
// come early, often on the first legal move after illegal ones: the same
// nodes, and the same score once the engine's fail-soft value is clamped to
// the window the reference keeps to.
TEST_P(FusedLegality, SearchMatchesTheReferenceInEveryWindow) {
    const std::string fen = GetParam().fen;
    for (uint32_t depth = 1; depth <= 4; ++depth) {
        Board board(fen);
        ReferenceSearch full;
        Line reference_line;
        const int32_t exact = full.search(board, -INF, INF, depth, 0, reference_line);
        search_board = board;
        node_count = 0;
        const SearchResult result = search_root(depth);
        EXPECT_EQ(result.score, exact) << "depth " << depth;
        EXPECT_EQ(node_count, full.nodes) << "depth " << depth;
        EXPECT_EQ(line_text(result.pv), line_text(reference_line)) << "depth " << depth;

        const int32_t windows[][2] = {
            {-INF, -INF + 1}, {exact - 1, exact}, {exact, exact + 1}, {-1000, 1000}, {INF - 1, INF}};
        for (const auto& window : windows) {
            if (window[0] >= window[1]) continue;
            ReferenceSearch narrow;
            Line ignored;
            const int32_t expected = narrow.search(board, window[0], window[1], depth, 0, ignored);
            node_count = 0;
            root_depth = depth;
            const SearchResult found = alpha_beta(board, window[0], window[1], depth, true);
            EXPECT_EQ(std::clamp(found.score, window[0], window[1]), expected)
                << "depth " << depth << " window " << window[0] << " " << window[1];
            EXPECT_EQ(node_count, narrow.nodes) << "depth " << depth << " window " << window[0] << " " << window[1];
            EXPECT_EQ(board.to_fen(), fen);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Positions, FusedLegality, testing::ValuesIn(positions),
                         [](const testing::TestParamInfo<Position>& info) { return std::string(info.param.name); });

// Every pseudo-legal move fails the test: the node has no legal move, which
// is mate in check and stalemate otherwise, with an empty line at any depth.
TEST(FusedLegalitySearch, MateAndStalemateWhenEveryMoveFails) {
    for (const auto& [fen, score] :
         {std::pair<const char*, int32_t>{positions[4].fen, -INF}, {positions[5].fen, -INF}, {positions[6].fen, 0}}) {
        Board board(fen);
        EXPECT_FALSE(ordered_moves(board).empty()) << fen;
        EXPECT_TRUE(legal_moves(board).empty()) << fen;
        SearchState state;
        search_board = board;
        for (uint32_t depth = 1; depth <= 3; ++depth) {
            node_count = 0;
            const SearchResult result = search_root(depth);
            EXPECT_EQ(result.score, score) << fen << " depth " << depth;
            EXPECT_TRUE(result.pv.empty()) << fen << " depth " << depth;
            EXPECT_EQ(node_count, 1u) << fen << " depth " << depth;
        }
        EXPECT_EQ(search_board.to_fen(), fen);
        EXPECT_EQ(perft(board, 2), 0u) << fen;
    }
}

// In check from the rook, the king steps and the knight's first two moves
// are illegal; the fifth move, c3b1, is the first legal one. A window that
// any score reaches cuts off on it: the root, its horizon node, that node's
// quiescence and the one capture Black then has, four nodes in all.
TEST(FusedLegalitySearch, CutOffOnTheFirstLegalMoveAfterIllegalOnes) {
    Board board(positions[3].fen);
    const MoveList moves = ordered_moves(board);
    std::vector<std::string> texts = uci_texts(moves);
    ASSERT_GE(texts.size(), 5u);
    texts.resize(5);
    EXPECT_EQ(texts, std::vector<std::string>({"e1d1", "e1f1", "c3a2", "c3a4", "c3b1"}));
    auto move = moves.begin();
    for (int i = 0; i < 4; ++i, ++move) EXPECT_TRUE(leaves_king_attacked(board, move->move)) << move->move.to_uci();
    EXPECT_FALSE(leaves_king_attacked(board, move->move));

    SearchState state;
    root_depth = 1;
    const SearchResult result = alpha_beta(board, -INF, -INF + 1, 1, true);
    EXPECT_EQ(result.score, -INF + 1);
    EXPECT_TRUE(result.pv.empty());
    EXPECT_EQ(node_count, 4u);
    EXPECT_EQ(board.to_fen(), positions[3].fen);
}
}  // namespace
