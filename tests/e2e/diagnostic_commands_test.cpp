// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "data/test_data.h"
#include "engine_process.h"

namespace {
const std::string start_fen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
const std::string error = "There are some error while processing command: ";

using Lines = std::vector<std::string>;

Lines reply(EngineProcess& engine, const std::string& line) {
    engine.send(line);
    return engine.sync().value_or(Lines{"<no readyok>"});
}

// Runs `line` (a perft command) and returns its per-move lines; checks the
// four summary lines and the reported total against the per-move lines.
Lines perft_lines(EngineProcess& engine, const std::string& line, uint64_t total) {
    engine.send(line);
    const auto lines = engine.read_until_prefix("    Perfomance: ", std::chrono::milliseconds(60000));
    if (!lines || lines->size() < 4) {
        ADD_FAILURE() << "no summary after " << line;
        return {};
    }
    const std::size_t moves = lines->size() - 4;
    EXPECT_EQ((*lines)[moves], "") << line;
    EXPECT_EQ((*lines)[moves + 1], "    Total: " + std::to_string(total) + " nodes") << line;
    EXPECT_TRUE(std::regex_match((*lines)[moves + 2], std::regex("    Time: [0-9.e+-]+sec"))) << (*lines)[moves + 2];
    EXPECT_TRUE(std::regex_match((*lines)[moves + 3], std::regex("    Perfomance: (-?nan|inf|[0-9.e+-]+)kN/sec")))
        << (*lines)[moves + 3];
    return Lines(lines->begin(), lines->begin() + static_cast<std::ptrdiff_t>(moves));
}

TEST(DiagnosticCommands, BoardAndPiecesOfTheStartPosition) {
    EngineProcess engine;
    EXPECT_EQ(reply(engine, "position startpos"), Lines());
    EXPECT_EQ(reply(engine, "board"), Lines({start_fen}));
    Lines expected;
    const std::string back_rank = "RNBQKBNR";
    for (int file = 0; file < 8; ++file)
        expected.push_back(std::string{char('a' + file), '1'} + ", " + back_rank[file]);
    for (int file = 0; file < 8; ++file) expected.push_back(std::string{char('a' + file), '2'} + ", P");
    for (int file = 0; file < 8; ++file) expected.push_back(std::string{char('a' + file), '7'} + ", p");
    for (int file = 0; file < 8; ++file) {
        expected.push_back(std::string{char('a' + file), '8'} + ", " + char(back_rank[file] - 'A' + 'a'));
    }
    EXPECT_EQ(reply(engine, "pieces"), expected);
}

TEST(DiagnosticCommands, PiecesFollowsTheMovesPlayed) {
    EngineProcess engine;
    reply(engine, "position fen 4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1 moves e5d6");
    EXPECT_EQ(reply(engine, "pieces"), Lines({"e1, K", "d6, P", "e8, k"}));
}

TEST(DiagnosticCommands, NothingToShowBeforeTheFirstPosition) {
    EngineProcess engine;
    EXPECT_EQ(reply(engine, "board"), Lines({error + "Bad color in to_fen()"}));
    EXPECT_EQ(reply(engine, "pieces"), Lines());
    EXPECT_EQ(perft_lines(engine, "perft 1", 0), Lines());
}

TEST(DiagnosticCommands, PerftOneFromTheStart) {
    EngineProcess engine;
    reply(engine, "position startpos");
    EXPECT_EQ(perft_lines(engine, "perft 1", 20),
              Lines({"b1a3 - 1", "b1c3 - 1", "g1f3 - 1", "g1h3 - 1", "a2a4 - 1", "b2b4 - 1", "c2c4 - 1",
                     "d2d4 - 1", "e2e4 - 1", "f2f4 - 1", "g2g4 - 1", "h2h4 - 1", "a2a3 - 1", "b2b3 - 1",
                     "c2c3 - 1", "d2d3 - 1", "e2e3 - 1", "f2f3 - 1", "g2g3 - 1", "h2h3 - 1"}));
}

TEST(DiagnosticCommands, PerftWithASignCountsTheSame) {
    EngineProcess engine;
    reply(engine, "position startpos");
    const Lines plain = perft_lines(engine, "perft 2", 400);
    ASSERT_EQ(plain.size(), 20u);
    EXPECT_EQ(plain.front(), "b1a3 - 20");
    EXPECT_EQ(perft_lines(engine, "perft +2", 400), plain);
}

TEST(DiagnosticCommands, PerftLeavesThePositionAsItWas) {
    EngineProcess engine;
    // Black to move with an en passant capture (b4a3) and all four castling rights.
    reply(engine, "position fen " + test_data::fen("kiwipete") + " moves a2a4");
    const std::string fen = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/Pp2P3/2N2Q1p/1PPBBPPP/R3K2R b KQkq a3 0 1";
    EXPECT_EQ(reply(engine, "board"), Lines({fen}));
    engine.send("perft 2");
    const auto lines = engine.read_until_prefix("    Perfomance: ", std::chrono::milliseconds(60000));
    ASSERT_TRUE(lines);
    EXPECT_NE(std::find_if(lines->begin(), lines->end(),
                           [](const std::string& line) { return line.rfind("b4a3 - ", 0) == 0; }),
              lines->end());
    EXPECT_NE(std::find_if(lines->begin(), lines->end(),
                           [](const std::string& line) { return line.rfind("e8c8 - ", 0) == 0; }),
              lines->end());
    EXPECT_EQ(reply(engine, "board"), Lines({fen}));
}

TEST(DiagnosticCommands, NoLegalMoveCountsZero) {
    EngineProcess engine;
    reply(engine, "position fen 4k3/8/8/8/8/8/3PPP2/r3K3 w - - 0 1");
    EXPECT_EQ(perft_lines(engine, "perft 1", 0), Lines());
    EXPECT_EQ(perft_lines(engine, "perft 3", 0), Lines());
    reply(engine, "position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
    EXPECT_EQ(perft_lines(engine, "perft 2", 0), Lines());
}

TEST(DiagnosticCommands, PerftZeroCountsTheEmptySequence) {
    EngineProcess engine;
    reply(engine, "position startpos");
    EXPECT_EQ(perft_lines(engine, "perft 0", 1), Lines());
    EXPECT_EQ(perft_lines(engine, "perft -0", 1), Lines());
    EXPECT_EQ(reply(engine, "board"), Lines({start_fen}));
}

TEST(DiagnosticCommands, PerftArgumentMustBeOneNumber) {
    EngineProcess engine;
    reply(engine, "position startpos");
    const std::string bad_number = error + "bad lexical cast: source type value could not be interpreted as target";
    for (const char* line : {"perft x", "perft 4294967296", "perft ", "perft -", "perft 1.5", "perft 2x"}) {
        EXPECT_EQ(reply(engine, line), Lines({bad_number})) << "[" << line << "]";
    }
    for (const char* line : {"perft", "perft 1 2", "perft  1"}) {
        EXPECT_EQ(reply(engine, line), Lines({"Unknown command. Please try some else."})) << "[" << line << "]";
    }
    EXPECT_EQ(reply(engine, "board"), Lines({start_fen}));
}
}  // namespace
