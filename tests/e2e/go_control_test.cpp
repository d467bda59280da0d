// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "data/test_data.h"
#include "search_session.h"

// How a search is started, timed and ended: stop, quit, the end of input, the
// timer and the clocks, and the go line's errors.
namespace {
using std::chrono::milliseconds;

const std::string unknown = "Unknown command. Please try some else.";
const std::string error_prefix = "There are some error while processing command: ";
const std::string kiwipete = test_data::fen("kiwipete");

// The shortest of three answers to `line`: a search stopped without waiting
// for a 100 ms slice answers well below 100 ms; taking the shortest keeps one
// scheduling hiccup of a busy machine from failing the test.
milliseconds quickest_answer(EngineProcess& engine, const std::string& line) {
    milliseconds best{60000};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(engine.sync());
        const SearchOutput output = go(engine, line);
        EXPECT_TRUE(output.finished) << line;
        best = std::min(best, output.elapsed);
    }
    return best;
}

// Runs `line` to its bestmove and checks that the search took at least
// `at_least` and less than `below` milliseconds.
void expect_search_time(EngineProcess& engine, const std::string& line, int64_t at_least, int64_t below) {
    const SearchOutput output = go(engine, line);
    EXPECT_TRUE(output.finished) << line;
    EXPECT_GE(output.elapsed.count(), at_least) << line;
    EXPECT_LT(output.elapsed.count(), below) << line;
}

// Starts a search and waits until it has finished its first iteration;
// returns that iteration's info line.
InfoLine start_infinite(EngineProcess& engine, const std::string& line = "go infinite") {
    engine.send(line);
    const auto lines = engine.read_until_prefix("info depth 1 ");
    EXPECT_TRUE(lines) << "no first iteration";
    return lines ? parse_info(lines->back()) : InfoLine{};
}

TEST(GoControl, MovetimeStopsAfterTheBudgetRoundedUpToSlices) {
    EngineProcess engine;
    engine.send("position startpos");
    ASSERT_TRUE(engine.sync());
    const SearchOutput output = go(engine, "go movetime 250");
    ASSERT_TRUE(output.finished);
    EXPECT_GE(output.elapsed.count(), 200);
    EXPECT_LE(output.elapsed.count(), 1500);
    expect_iterations_in_order(output);
    EXPECT_EQ(output.bestmove, expected_bestmove(Board::start_position(), output));
    quit_cleanly(engine);
}

TEST(GoControl, ZeroBudgetsStopTheSearchAtOnce) {
    EngineProcess engine;
    engine.send("position startpos");
    EXPECT_LT(quickest_answer(engine, "go movetime 0").count(), 90);
    // White to move: Black's clock is no budget for White.
    EXPECT_LT(quickest_answer(engine, "go btime 5000").count(), 90);
    // 150 ms on the clock leave no time once 100 ms are kept back, and an
    // increment does not help: no slice fits before the last 100 ms.
    EXPECT_LT(quickest_answer(engine, "go wtime 150").count(), 90);
    EXPECT_LT(quickest_answer(engine, "go wtime 150 winc 2000").count(), 90);
    const SearchOutput output = go(engine, "go wtime 150 winc 2000");
    EXPECT_EQ(output.bestmove, "b1a3");  // the first legal move and the depth-1 move alike
    quit_cleanly(engine);
}

// A go with a clock: the budget is an even share of the time plus one
// increment, rounded up by the timer to whole 100 ms slices and capped so
// that the search stops at least 100 ms, or a twentieth of the clock when
// that is more, before the mover's clock runs out. The bounds are on the
// time from go to bestmove; the upper ones allow 90 ms for the bestmove line
// to arrive after the stop, and all lie before the clock runs out.
struct TimedGo {
    const char* name;
    const char* position;
    const char* go;
    int64_t at_least;
    int64_t below;
};

void PrintTo(const TimedGo& timed, std::ostream* out) { *out << timed.go; }

const TimedGo timed_goes[] = {
    // (40 x 20 + 800) / 40 = 40 ms, rounded up to one 100 ms slice.
    {"share_with_increments", "position startpos", "go wtime 800 btime 800 winc 20 binc 20", 95, 1000},
    // 900 / 20 = 45 ms.
    {"share_of_moves_to_go", "position startpos", "go wtime 900 movestogo 20", 95, 1000},
    // No time on the clock given: the increment alone, 250 ms in three slices.
    {"increment_alone", "position startpos", "go winc 250", 250, 1500},
    // movetime wins over the clocks.
    {"movetime_over_clocks", "position startpos", "go wtime 100000 winc 5000 movetime 100", 95, 1000},
    // Black to move, one move to go: all of 1050 ms would be used up in
    // 1100 ms; the budget is kept to 900 ms instead.
    {"small_clock_one_move", "position startpos moves e2e4", "go wtime 100000 btime 1050 movestogo 1", 880, 990},
    // 1200 ms for one move: a twentieth is 60 ms, so 100 ms are kept.
    {"hundred_ms_kept", "position startpos", "go wtime 1200 movestogo 1", 1080, 1190},
    // 300 / 40 = 7 ms, one slice, which ends 200 ms before the clock does.
    {"tiny_clock", "position startpos", "go wtime 300", 95, 200},
    // (40 x 5000 + 5000) / 40 = 5125 ms, more than the clock: a twentieth,
    // 250 ms, is kept, and the budget is 4750 ms rounded down to 4700.
    {"twentieth_kept", "position startpos", "go wtime 5000 winc 5000", 4680, 4790},
    // A twentieth of 2105 ms is 105.25 ms, so 2000 ms would keep too little:
    // the budget is 1900 ms.
    {"twentieth_rounded_up", "position startpos", "go wtime 2105 movestogo 1", 1880, 1990},
};

class GoClock : public testing::TestWithParam<TimedGo> {};

TEST_P(GoClock, SearchesForItsBudgetInWholeSlices) {
    const TimedGo& timed = GetParam();
    EngineProcess engine;
    engine.send(timed.position);
    ASSERT_TRUE(engine.sync());
    expect_search_time(engine, timed.go, timed.at_least, timed.below);
    quit_cleanly(engine);
}

INSTANTIATE_TEST_SUITE_P(Budgets, GoClock, testing::ValuesIn(timed_goes),
                         [](const testing::TestParamInfo<TimedGo>& info) { return std::string(info.param.name); });

// A machine that does not run the engine for a while (a loaded machine wakes
// its threads late) must not delay the end of the search by as much: each of
// the timer's slices ends 100 ms after the last one was due, however late the
// timer woke. The engine is stopped for 300 ms during the search.
TEST(GoControl, TheTimerCatchesUpWithItsSlicesAfterAPause) {
    EngineProcess engine;
    engine.send("position startpos");
    ASSERT_TRUE(engine.sync());
    const auto start = std::chrono::steady_clock::now();
    // One move to go on 3000 ms: a twentieth, 150 ms, is kept, so 2800 ms.
    engine.send("go wtime 3000 movestogo 1");
    ASSERT_TRUE(engine.read_until_prefix("info depth 1 "));
    ASSERT_EQ(kill(engine.pid(), SIGSTOP), 0);
    std::this_thread::sleep_for(milliseconds(300));
    ASSERT_EQ(kill(engine.pid(), SIGCONT), 0);
    const SearchOutput output = read_search(engine, milliseconds(20000), start);
    ASSERT_TRUE(output.finished);
    EXPECT_GE(output.elapsed.count(), 2780);
    EXPECT_LT(output.elapsed.count(), 2890);
    quit_cleanly(engine);
}

TEST(GoControl, ClocksBeforeAnyPositionUseBlacksValues) {
    EngineProcess engine;
    // No side to move yet: Black's clock (not given) decides, so no time.
    EXPECT_LT(quickest_answer(engine, "go wtime 100000 winc 1000").count(), 90);
    const SearchOutput output = go(engine, "go wtime 100000");
    EXPECT_EQ(output.bestmove, "0000");
    quit_cleanly(engine);
}

TEST(GoControl, InfiniteSearchRunsUntilStopAndAnswersOnce) {
    EngineProcess engine;
    engine.send("position startpos");
    start_infinite(engine);
    engine.send("stop");
    const SearchOutput output = read_search(engine);
    ASSERT_TRUE(output.finished);
    EXPECT_TRUE(output.others.empty());
    EXPECT_TRUE(is_legal(Board::start_position(), output.bestmove));
    // quit_cleanly checks that neither an info line nor a second bestmove follows.
    quit_cleanly(engine);
}

TEST(GoControl, IsReadyIsAnsweredDuringASearch) {
    EngineProcess engine;
    engine.send("position startpos");
    start_infinite(engine, "go");
    const auto lines = engine.sync();
    ASSERT_TRUE(lines);
    for (const std::string& line : *lines) EXPECT_TRUE(is_info(line)) << line;
    engine.send("stop");
    EXPECT_TRUE(read_search(engine).finished);
    quit_cleanly(engine);
}

TEST(GoControl, GoDuringASearchIsRefusedAndTheSearchGoesOn) {
    EngineProcess engine;
    engine.send(std::string("position fen ") + kiwipete);
    start_infinite(engine);
    engine.send("go depth 1");
    const auto lines = engine.read_until([](const std::string& line) { return !is_info(line); });
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->back(), error_prefix + "Can't run another search.");
    const auto still_running = engine.sync();
    ASSERT_TRUE(still_running);
    for (const std::string& line : *still_running) EXPECT_TRUE(is_info(line)) << line;
    engine.send("stop");
    const SearchOutput output = read_search(engine);
    EXPECT_TRUE(is_legal(Board(kiwipete), output.bestmove));
    // After the stop a new search starts normally.
    const SearchOutput next = go(engine, "go depth 1");
    EXPECT_EQ(next.infos.size(), 1u);
    EXPECT_EQ(next.bestmove, next.infos[0].pv.front());
    quit_cleanly(engine);
}

TEST(GoControl, StopAfterTheSearchEndedWritesNothing) {
    EngineProcess engine;
    engine.send("stop");  // before any search
    engine.send("position startpos");
    EXPECT_TRUE(go(engine, "go depth 2").finished);
    engine.send("stop");
    engine.send("stop");
    auto lines = engine.sync();
    ASSERT_TRUE(lines);
    EXPECT_TRUE(lines->empty());

    start_infinite(engine);
    engine.send("stop");
    EXPECT_TRUE(read_search(engine).finished);
    engine.send("stop");
    quit_cleanly(engine);
}

TEST(GoControl, StopAtAnyMomentGivesTheLastFinishedIterationsMove) {
    EngineProcess engine;
    engine.send(std::string("position fen ") + kiwipete);
    const Board board(kiwipete);
    for (int round = 0; round < 20; ++round) {
        std::optional<InfoLine> first;
        if (round % 2 == 0) {
            engine.send("go infinite");  // stopped at once, maybe before depth 1 ends
        } else {
            first = start_infinite(engine);
        }
        engine.send("stop");
        SearchOutput output = read_search(engine);
        if (first) output.infos.insert(output.infos.begin(), *first);
        ASSERT_TRUE(output.finished) << "round " << round;
        EXPECT_TRUE(output.others.empty());
        expect_iterations_in_order(output);
        EXPECT_EQ(output.bestmove, expected_bestmove(board, output)) << "round " << round;
        // Nothing of this search after its bestmove.
        const auto after = engine.sync();
        ASSERT_TRUE(after);
        EXPECT_TRUE(after->empty()) << "round " << round << ": " << after->front();
    }
    quit_cleanly(engine);
}

TEST(GoControl, DepthLimitBeforeTheBudgetEndsTheSearchAndTheTimerQuietly) {
    EngineProcess engine;
    engine.send("position startpos");
    SearchOutput output = go(engine, "go depth 2 movetime 100000");
    ASSERT_TRUE(output.finished);
    EXPECT_EQ(output.infos.size(), 2u);
    EXPECT_LT(output.elapsed.count(), 5000);
    // The timer thread is gone at once: the next search is not held up.
    output = go(engine, "go depth 1");
    EXPECT_EQ(output.infos.size(), 1u);
    EXPECT_LT(output.elapsed.count(), 1000);
    // The budget before the depth limit: the timer ends it.
    output = go(engine, "go depth 40 movetime 200");
    ASSERT_TRUE(output.finished);
    EXPECT_GE(output.elapsed.count(), 150);
    EXPECT_LT(output.elapsed.count(), 1500);
    EXPECT_EQ(output.bestmove, expected_bestmove(Board::start_position(), output));
    quit_cleanly(engine);
}

// quit, or the end of input, during a search: the search's one bestmove,
// then the engine exits with status 0.
class GoEnded : public testing::TestWithParam<bool> {};

TEST_P(GoEnded, DuringASearchAnswersOnceAndExits) {
    const bool by_quit = GetParam();
    EngineProcess engine;
    engine.send("position startpos");
    start_infinite(engine);
    if (by_quit) {
        engine.send("quit");
    } else {
        engine.close_input();
    }
    std::vector<std::string> rest;
    while (auto line = engine.read_line(milliseconds(10000))) rest.push_back(*line);
    ASSERT_FALSE(rest.empty());
    EXPECT_TRUE(is_bestmove(rest.back()));
    EXPECT_EQ(std::count_if(rest.begin(), rest.end(), is_bestmove), 1);
    EXPECT_EQ(engine.wait_exit(), 0);
}

INSTANTIATE_TEST_SUITE_P(ByQuitOrEndOfInput, GoEnded, testing::Bool(), [](const testing::TestParamInfo<bool>& info) {
    return std::string(info.param ? "quit" : "end_of_input");
});

TEST(GoControl, BadGoLinesStartNoSearchAndTheNextGoWorks) {
    const std::string bad_number =
        error_prefix + "bad lexical cast: source type value could not be interpreted as target";
    const std::string missing = error_prefix + "invalid vector<T> subscript";
    const std::pair<std::string, std::string> cases[] = {
        {"go foo", unknown},
        {"go depth 5 ", unknown},  // trailing blank: an empty last token
        {"go  depth 3", unknown},  // two blanks: an empty token
        {"go ponder wtime 1000", unknown},
        {"go depth 3 searchmoves e2e4", unknown},
        {"go Depth 3", unknown},
        {"go depth", missing},
        {"go wtime 1000 movestogo", missing},
        {"go depth x", bad_number},
        {"go movetime 4294967296", bad_number},
        {"go wtime 1.5", bad_number},
    };
    EngineProcess engine;
    engine.send("position startpos");
    for (const auto& [line, reply] : cases) {
        engine.send(line);
        EXPECT_EQ(engine.read_line(), reply) << line;
        const auto nothing = engine.sync();  // no search was started
        ASSERT_TRUE(nothing);
        EXPECT_TRUE(nothing->empty()) << line << ": " << nothing->front();
        const SearchOutput output = go(engine, "go depth 1");
        EXPECT_EQ(output.infos.size(), 1u) << "after " << line;
        EXPECT_EQ(output.bestmove, "b1a3") << "after " << line;
    }
    quit_cleanly(engine);
}

TEST(GoControl, SignedAndRepeatedParametersAreRead) {
    EngineProcess engine;
    engine.send("position startpos");
    // The last value wins; a plus sign is allowed.
    SearchOutput output = go(engine, "go depth 9 depth +2");
    EXPECT_EQ(output.infos.size(), 2u);
    output = go(engine, "go infinite depth 1 infinite");
    EXPECT_EQ(output.infos.size(), 1u);
    quit_cleanly(engine);
}
}  // namespace
