// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "moves/attacks.h"
#include "search_session.h"

// Whole games between two engine processes, driven the way a chess GUI drives
// them: the position as the start position plus every move so far, and go with
// both clocks running for real.
namespace {
using std::chrono::milliseconds;

constexpr int64_t start_clock_ms = 10000;
constexpr int64_t increment_ms = 100;

void handshake(EngineProcess& engine) {
    engine.send("uci");
    const auto identification = engine.read_until([](const std::string& line) { return line == "uciok"; });
    ASSERT_TRUE(identification);
    engine.send("ucinewgame");
    const auto ready = engine.sync();
    ASSERT_TRUE(ready);
    EXPECT_TRUE(ready->empty());
}

class Game {
public:
    // `opening` is played as from the GUI's book before the engines take over.
    explicit Game(const std::vector<std::string>& opening) : board(Board::start_position()) {
        for (auto& engine : engines) {
            engine = std::make_unique<EngineProcess>();
            handshake(*engine);
        }
        for (const std::string& text : opening) play(text);
    }

    int side() const { return ply % 2; }  // 0: White, the first engine
    bool over() const { return legal_move_texts(board).empty(); }

    // Asks the engine of the side to move for its move with both clocks
    // running, and charges it the time from go to bestmove.
    SearchOutput think() {
        EngineProcess& engine = *engines[side()];
        engine.send(moves.empty() ? "position startpos" : "position startpos moves" + moves);
        const std::string line = "go wtime " + std::to_string(clock[0]) + " btime " + std::to_string(clock[1]) +
                                 " winc " + std::to_string(increment_ms) + " binc " + std::to_string(increment_ms);
        SearchOutput output = go(engine, line, milliseconds(clock[side()] + 2000));
        EXPECT_TRUE(output.others.empty()) << output.others.front();
        expect_iterations_in_order(output);
        EXPECT_LT(output.elapsed.count(), clock[side()]) << "flag fell at ply " << ply;
        clock[side()] += increment_ms - output.elapsed.count();
        return output;
    }

    void play(const std::string& text) {
        ASSERT_TRUE(is_legal(board, text)) << text << " at ply " << ply << " in " << board.to_fen();
        make_move(board, Move::from_uci(board, text));
        moves += " " + text;
        ++ply;
    }

    void finish() {
        std::cout << "moves:" << moves << "\nclocks left: " << clock[0] << " ms, " << clock[1] << " ms\n";
        for (auto& engine : engines) quit_cleanly(*engine);
    }

    std::array<std::unique_ptr<EngineProcess>, 2> engines;
    Board board;
    std::array<int64_t, 2> clock{start_clock_ms, start_clock_ms};  // White, Black
    std::string moves;
    int ply = 0;
};

TEST(Game, TwoEnginesPlayFromTheStartWithRealClocks) {
    constexpr int max_plies = 80;
    Game game({});
    while (game.ply < max_plies && !game.over()) {
        const SearchOutput output = game.think();
        ASSERT_TRUE(output.finished) << "no bestmove at ply " << game.ply;
        EXPECT_EQ(output.bestmove, expected_bestmove(game.board, output));
        game.play(output.bestmove);
        if (::testing::Test::HasFatalFailure()) return;
    }
    if (game.ply < max_plies) std::cout << (in_check(game.board) ? "mate" : "stalemate") << "\n";
    EXPECT_GT(game.clock[0], 0);
    EXPECT_GT(game.clock[1], 0);
    game.finish();
}

TEST(Game, MateEndsTheGameAndTheMatedSideAnswersTheNullMove) {
    // The book leaves White a mate in one: Qxf7#.
    Game game({"e2e4", "e7e5", "f1c4", "b8c6", "d1h5", "g8f6"});
    const SearchOutput mating = game.think();
    ASSERT_TRUE(mating.finished);
    ASSERT_FALSE(mating.infos.empty());
    EXPECT_EQ(mating.infos.back().score, "mate 1");
    EXPECT_EQ(mating.bestmove, "h5f7");
    game.play(mating.bestmove);
    ASSERT_TRUE(game.over());
    EXPECT_TRUE(in_check(game.board));

    // A GUI that asks the mated side anyway gets no move, within its time.
    const SearchOutput mated = game.think();
    ASSERT_TRUE(mated.finished);
    EXPECT_EQ(mated.bestmove, "0000");
    ASSERT_FALSE(mated.infos.empty());
    EXPECT_EQ(mated.infos.back().score, "mate 0");
    game.finish();
}
}  // namespace
