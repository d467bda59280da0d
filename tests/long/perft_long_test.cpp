// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <regex>

#include "chess/board.h"
#include "data/test_data.h"
#include "engine_process.h"
#include "moves/perft.h"

namespace {
// The perft command of the real binary: per-move lines that add up to the
// published total, and the summary after them.
TEST(DeepPerftCommand, KiwipeteDepthFourThroughTheEngine) {
    const test_data::PerftPosition& kiwipete = test_data::suite_position("kiwipete");
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
