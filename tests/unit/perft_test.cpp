// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

#include "data/test_data.h"
#include "moves/perft.h"
#include "unit/test_support.h"

namespace {
// Counts are 64-bit: a total above 2^32 must not wrap.
static_assert(std::is_same_v<decltype(perft(std::declval<Board&>(), 0u)), uint64_t>);
static_assert(std::is_same_v<decltype(perft_divide(0u)), uint64_t>);

TEST(Perft, DepthZeroIsOneAndNoMoveIsZero) {
    for (const char* fen : {"4k3/8/8/8/8/8/3PPP2/r3K3 w - - 0 1", "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1"}) {
        Board board(fen);
        EXPECT_EQ(perft(board, 0), 1u) << fen;
        for (uint32_t depth = 1; depth <= 3; ++depth) EXPECT_EQ(perft(board, depth), 0u) << fen << " depth " << depth;
    }
    Board start = Board::start_position();
    EXPECT_EQ(perft(start, 0), 1u);
}

TEST(PerftDivide, OneLinePerRootMoveInGenerationOrder) {
    current_position = Board::start_position();
    CapturedOutput output;
    EXPECT_EQ(perft_divide(1), 20u);
    EXPECT_EQ(output.lines(), std::vector<std::string>({"b1a3 - 1", "b1c3 - 1", "g1f3 - 1", "g1h3 - 1", "a2a4 - 1",
                                                        "b2b4 - 1", "c2c4 - 1", "d2d4 - 1", "e2e4 - 1", "f2f4 - 1",
                                                        "g2g4 - 1", "h2h4 - 1", "a2a3 - 1", "b2b3 - 1", "c2c3 - 1",
                                                        "d2d3 - 1", "e2e3 - 1", "f2f3 - 1", "g2g3 - 1", "h2h3 - 1"}));
}

TEST(PerftDivide, CountsBelowEachMoveAddUpToTheTotal) {
    current_position = Board::start_position();
    CapturedOutput output;
    EXPECT_EQ(perft_divide(3), 8902u);
    const auto lines = output.lines();
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines.front(), "b1a3 - 400");
    uint64_t sum = 0;
    for (const std::string& line : lines) sum += std::stoull(line.substr(line.find(" - ") + 3));
    EXPECT_EQ(sum, 8902u);
}

TEST(PerftDivide, DepthZeroWritesNothingAndLeavesThePositionAlone) {
    const std::string fen =
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq e3 0 1";  // Kiwipete, Black to move
    current_position = Board(fen);
    CapturedOutput output;
    EXPECT_EQ(perft_divide(0), 1u);
    EXPECT_EQ(output.all(), "");
    EXPECT_EQ(perft_divide(2), perft(current_position, 2));
    EXPECT_EQ(current_position.to_fen(), fen);
}

TEST(PerftDivide, NoLegalMoveWritesNoLine) {
    current_position = Board("4k3/8/8/8/8/8/3PPP2/r3K3 w - - 0 1");
    CapturedOutput output;
    EXPECT_EQ(perft_divide(2), 0u);
    EXPECT_EQ(output.all(), "");
}
}  // namespace
