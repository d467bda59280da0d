// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "data/test_data.h"
#include "search_session.h"

// What a search reports: its info lines and the bestmove, through the binary.
namespace {
const char* mate_in_one = "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1";   // Ra8#
const char* mated = "R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1";         // Black is mated
const char* stalemate = "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1";        // Black has no move
const char* every_move_mated = "k7/8/1K6/8/8/8/8/7R b - - 0 1";  // Kb8 forced, then Rh8#
const std::string kiwipete = test_data::fen("kiwipete");

TEST(GoSearch, InfoLineEndsWithABlankAfterTheLastMove) {
    EngineProcess engine;
    engine.send("position startpos");
    engine.send("go depth 1");
    const auto line = engine.read_line();
    ASSERT_TRUE(line);
    EXPECT_EQ(line->substr(0, 26), "info depth 1 score cp 0 np");
    EXPECT_EQ(line->substr(line->size() - 18), " nodes 41 pv b1a3 ");
    EXPECT_EQ(engine.read_line(), "bestmove b1a3");
    quit_cleanly(engine);
}

class GoSignature : public ::testing::TestWithParam<test_data::SearchFigures> {};

// The figures of go depth 5, as the test data pins them.
TEST_P(GoSignature, DepthFiveFiguresAreUnchanged) {
    const test_data::SearchFigures& position = GetParam();
    EngineProcess engine;
    engine.send("position fen " + position.fen);
    const SearchOutput output = go(engine, "go depth 5", std::chrono::milliseconds(120000));
    ASSERT_TRUE(output.finished);
    ASSERT_EQ(output.infos.size(), position.iterations.size());
    for (std::size_t i = 0; i < output.infos.size(); ++i) {
        const test_data::SearchIteration& expected = position.iterations[i];
        const InfoLine& info = output.infos[i];
        EXPECT_EQ(info.depth, expected.depth);
        EXPECT_EQ(info.score, "cp " + std::to_string(expected.score / 10)) << "depth " << expected.depth;
        EXPECT_EQ(info.nodes, expected.nodes) << "depth " << expected.depth;
        EXPECT_EQ(info.pv_text, expected.pv) << "depth " << expected.depth;
    }
    EXPECT_EQ(output.bestmove, output.infos.back().pv.front());
    quit_cleanly(engine);
}

INSTANTIATE_TEST_SUITE_P(Positions, GoSignature, ::testing::ValuesIn(test_data::search_figures_up_to(5)),
                         [](const ::testing::TestParamInfo<test_data::SearchFigures>& info) {
                             return test_data::test_name(info.param.name);
                         });

TEST(GoSearch, DepthZeroAnswersTheFirstLegalMoveWithoutInfo) {
    EngineProcess engine;
    engine.send("position startpos");
    SearchOutput output = go(engine, "go depth 0");
    ASSERT_TRUE(output.finished);
    EXPECT_TRUE(output.infos.empty());
    EXPECT_EQ(output.bestmove, "b1a3");

    engine.send(std::string("position fen ") + kiwipete);
    output = go(engine, "go depth 0");
    EXPECT_TRUE(output.infos.empty());
    EXPECT_EQ(output.bestmove, legal_move_texts(Board(kiwipete)).front());

    engine.send(std::string("position fen ") + stalemate);
    output = go(engine, "go depth 0");
    EXPECT_TRUE(output.infos.empty());
    EXPECT_EQ(output.bestmove, "0000");
    quit_cleanly(engine);
}

// Scores and lines of whole searches, iteration by iteration: mates,
// stalemate, a promotion, and a search before any position.
struct Iteration {
    const char* score;
    const char* pv;
};

struct ScoreCase {
    const char* name;
    const char* fen;                    // nullptr: no position command before the go
    std::vector<Iteration> iterations;  // go depth N for N iterations
    const char* bestmove;
};

void PrintTo(const ScoreCase& score_case, std::ostream* out) { *out << score_case.name; }

const ScoreCase score_cases[] = {
    // Ra8#, not seen at depth 1, where the mated position lies at the
    // horizon: all moves keep the material, and the king's come first.
    {"mate_in_one", mate_in_one, {{"cp 200", "g1f1"}, {"mate 1", "a1a8"}, {"mate 1", "a1a8"}}, "a1a8"},
    // Kb8 is forced, then Rh8#: seen from depth 3.
    {"mated_in_one",
     every_move_mated,
     {{"cp -500", "a8b8"}, {"cp -500", "a8b8 b6a5"}, {"mate -1", "a8b8 h1h8"}},
     "a8b8"},
    // No move at the root: the null move.
    {"mated", mated, {{"mate 0", ""}, {"mate 0", ""}, {"mate 0", ""}}, "0000"},
    {"stalemate", stalemate, {{"cp 0", ""}, {"cp 0", ""}}, "0000"},
    // Before any position the board is empty and has no side to move.
    {"no_position", nullptr, {{"cp 0", ""}, {"cp 0", ""}}, "0000"},
    // A promotion's move text carries the piece's letter.
    {"promotion", "8/P6k/8/8/8/8/8/K7 w - - 0 1", {{"cp 975", "a7a8q"}}, "a7a8q"},
};

class GoScores : public testing::TestWithParam<ScoreCase> {};

TEST_P(GoScores, ScoresLinesAndBestMove) {
    const ScoreCase& score_case = GetParam();
    EngineProcess engine;
    if (score_case.fen != nullptr) engine.send(std::string("position fen ") + score_case.fen);
    const SearchOutput output = go(engine, "go depth " + std::to_string(score_case.iterations.size()));
    ASSERT_EQ(output.infos.size(), score_case.iterations.size());
    for (std::size_t i = 0; i < output.infos.size(); ++i) {
        EXPECT_EQ(output.infos[i].score, score_case.iterations[i].score) << "depth " << i + 1;
        EXPECT_EQ(output.infos[i].pv_text, score_case.iterations[i].pv) << "depth " << i + 1;
        // Without a move at the root, each iteration is the root node alone.
        if (std::string(score_case.bestmove) == "0000") {
            EXPECT_EQ(output.infos[i].nodes, i + 1);
        }
    }
    EXPECT_EQ(output.bestmove, score_case.bestmove);
    quit_cleanly(engine);
}

INSTANTIATE_TEST_SUITE_P(Positions, GoScores, testing::ValuesIn(score_cases),
                         [](const testing::TestParamInfo<ScoreCase>& info) { return std::string(info.param.name); });

TEST(GoSearch, DeepLimitOnAMatedRootStopsAtDepth256) {
    EngineProcess engine;
    engine.send(std::string("position fen ") + mated);
    const SearchOutput output = go(engine, "go depth 1000");
    ASSERT_TRUE(output.finished);
    ASSERT_EQ(output.infos.size(), 256u);
    expect_iterations_in_order(output);
    EXPECT_EQ(output.infos.back().nodes, 256u);
    EXPECT_EQ(output.bestmove, "0000");
    quit_cleanly(engine);
}

TEST(GoSearch, InfiniteSearchOfAMatedRootWaitsForStop) {
    EngineProcess engine;
    engine.send(std::string("position fen ") + mated);
    engine.send("go infinite");
    const auto lines = engine.read_until_prefix("info depth 256 ");
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 256u);
    // Iterative deepening is over, but the bestmove waits for stop.
    const auto waiting = engine.sync();
    ASSERT_TRUE(waiting);
    EXPECT_TRUE(waiting->empty());
    // It is still the running search: another go is refused.
    engine.send("go depth 1");
    EXPECT_EQ(engine.read_line(), "There are some error while processing command: Can't run another search.");
    engine.send("stop");
    EXPECT_EQ(engine.read_line(), "bestmove 0000");

    // With a budget the timer ends the wait.
    const SearchOutput timed = go(engine, "go movetime 200");
    ASSERT_TRUE(timed.finished);
    EXPECT_EQ(timed.infos.size(), 256u);
    EXPECT_GE(timed.elapsed.count(), 150);
    EXPECT_EQ(timed.bestmove, "0000");
    quit_cleanly(engine);
}

TEST(GoSearch, SearchStartsFromThePositionAfterItsMoves) {
    EngineProcess engine;
    engine.send("position startpos moves e2e4 d7d5");
    const SearchOutput output = go(engine, "go depth 2");
    ASSERT_EQ(output.infos.size(), 2u);
    const Board board = [] {
        Board b = Board::start_position();
        make_move(b, Move::from_uci(b, "e2e4"));
        make_move(b, Move::from_uci(b, "d7d5"));
        return b;
    }();
    EXPECT_TRUE(is_legal(board, output.bestmove)) << output.bestmove;
    EXPECT_EQ(output.bestmove, output.infos[1].pv.front());
    // A search does not change the position: the same go gives the same answer.
    const SearchOutput again = go(engine, "go depth 2");
    EXPECT_EQ(again.infos.back().pv_text, output.infos.back().pv_text);
    EXPECT_EQ(again.infos.back().nodes, output.infos.back().nodes);
    quit_cleanly(engine);
}
}  // namespace
