#include <gtest/gtest.h>

#include <regex>

#include "chess/board.h"
#include "engine_process.h"
#include "moves/perft.h"
#include "perft_suite.h"

namespace {
class DeepPerft : public testing::TestWithParam<std::size_t> {};

// Every published depth, the deepest ones included (depth 6 of the start
// position is about 119 million leaves).
TEST_P(DeepPerft, PublishedCountsAtEveryDepth) {
    const PerftPosition& position = perft_suite()[GetParam()];
    Board board(position.fen);
    for (uint32_t depth = 1; depth <= position.counts.size(); ++depth) {
        EXPECT_EQ(perft(board, depth), position.counts[depth - 1]) << position.name << " depth " << depth;
        ASSERT_EQ(board.to_fen(), position.fen);
    }
}

INSTANTIATE_TEST_SUITE_P(Positions, DeepPerft, testing::Range<std::size_t>(0, perft_suite().size()),
                         [](const testing::TestParamInfo<std::size_t>& info) {
                             return std::string(perft_suite()[info.param].name);
                         });

// The perft command of the real binary: per-move lines that add up to the
// published total, and the summary after them.
TEST(DeepPerftCommand, KiwipeteDepthFourThroughTheEngine) {
    const PerftPosition& kiwipete = perft_suite()[1];
    EngineProcess engine;
    engine.send(std::string("position fen ") + kiwipete.fen);
    engine.send("perft 4");
    const auto lines = engine.read_until_prefix("    Total: ", std::chrono::milliseconds(300000));
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 48u + 2u);
    const std::regex per_move("[a-h][1-8][a-h][1-8][nbrq]? - ([0-9]+)");
    uint64_t sum = 0;
    for (std::size_t i = 0; i < 48; ++i) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match((*lines)[i], match, per_move)) << (*lines)[i];
        sum += std::stoull(match[1]);
    }
    EXPECT_EQ(sum, kiwipete.counts[3]);
    EXPECT_EQ((*lines)[48], "");
    EXPECT_EQ((*lines)[49], "    Total: " + std::to_string(kiwipete.counts[3]) + " nodes");
    engine.send("board");
    EXPECT_TRUE(engine.read_until_prefix("    Perfomance: "));
    EXPECT_EQ(engine.read_line(), kiwipete.fen);
}
}  // namespace
