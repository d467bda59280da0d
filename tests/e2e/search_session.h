// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "chess/board.h"
#include "engine_process.h"
#include "moves/make_move.h"
#include "moves/move.h"
#include "moves/movegen.h"

// Reading what a search writes: its info lines and its one bestmove line.

// One info line taken apart; `valid` is false when the line does not have the
// engine's exact form.
struct InfoLine {
    bool valid = false;
    uint32_t depth = 0;
    std::string score;  // "cp 0", "mate -1"
    uint64_t nps = 0;
    uint64_t nodes = 0;
    std::vector<std::string> pv;
    std::string pv_text;  // moves separated by one blank
};

inline bool is_info(const std::string& line) { return line.rfind("info ", 0) == 0; }
inline bool is_bestmove(const std::string& line) { return line.rfind("bestmove ", 0) == 0; }

inline InfoLine parse_info(const std::string& line) {
    // Fields in a fixed order; every pv move is followed by one blank.
    static const std::regex form(
        R"(info depth (\d+) score ((?:cp|mate) -?\d+) nps (\d+) nodes (\d+) pv ((?:[a-h][1-8][a-h][1-8][nbrq]? )*))");
    InfoLine info;
    std::smatch match;
    if (!std::regex_match(line, match, form)) return info;
    info.valid = true;
    info.depth = static_cast<uint32_t>(std::stoul(match[1]));
    info.score = match[2];
    info.nps = std::stoull(match[3]);
    info.nodes = std::stoull(match[4]);
    std::istringstream moves(match[5].str());
    for (std::string move; moves >> move;) info.pv.push_back(move);
    for (const std::string& move : info.pv) info.pv_text += (info.pv_text.empty() ? "" : " ") + move;
    return info;
}

// Everything one search wrote up to its bestmove.
struct SearchOutput {
    bool finished = false;  // a bestmove line arrived
    std::vector<InfoLine> infos;
    std::vector<std::string> others;  // lines that are neither info nor bestmove
    std::string bestmove;             // the move text alone
    std::chrono::milliseconds elapsed{0};
};

// Reads up to and including the next bestmove line; `start` is when the go
// was sent.
inline SearchOutput read_search(EngineProcess& engine,
                                std::chrono::milliseconds timeout = std::chrono::milliseconds(20000),
                                std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now()) {
    SearchOutput output;
    auto lines = engine.read_until(is_bestmove, timeout);
    output.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    if (!lines) return output;
    output.finished = true;
    output.bestmove = lines->back().substr(9);
    lines->pop_back();
    for (const std::string& line : *lines) {
        if (is_info(line)) {
            output.infos.push_back(parse_info(line));
            EXPECT_TRUE(output.infos.back().valid) << "malformed info line: [" << line << "]";
        } else {
            output.others.push_back(line);
        }
    }
    return output;
}

// Sends `go ...` and reads the search's output; `elapsed` runs from the send.
inline SearchOutput go(EngineProcess& engine, const std::string& line,
                       std::chrono::milliseconds timeout = std::chrono::milliseconds(20000)) {
    const auto start = std::chrono::steady_clock::now();
    engine.send(line);
    return read_search(engine, timeout, start);
}

inline std::vector<std::string> legal_move_texts(Board board) {
    std::vector<std::string> texts;
    for (const ScoredMove& scored : legal_moves(board)) texts.push_back(scored.move.to_uci());
    return texts;
}

inline bool is_legal(const Board& board, const std::string& text) {
    for (const std::string& legal : legal_move_texts(board)) {
        if (legal == text) return true;
    }
    return false;
}

// The move a search must report: the first pv move of its last info line, or
// the first legal move when no iteration finished (0000 with no legal move).
inline std::string expected_bestmove(const Board& board, const SearchOutput& output) {
    if (!output.infos.empty()) {
        const InfoLine& last = output.infos.back();
        return last.pv.empty() ? "0000" : last.pv.front();
    }
    const std::vector<std::string> moves = legal_move_texts(board);
    return moves.empty() ? "0000" : moves.front();
}

// Iterations run 1, 2, 3, ... and the node count never goes down.
inline void expect_iterations_in_order(const SearchOutput& output) {
    uint64_t nodes = 0;
    for (std::size_t i = 0; i < output.infos.size(); ++i) {
        EXPECT_EQ(output.infos[i].depth, i + 1);
        EXPECT_GE(output.infos[i].nodes, nodes);
        nodes = output.infos[i].nodes;
    }
}

// Ends the engine with quit and checks that nothing more was written and that
// it exited with status 0 (a sanitizer report makes it non-zero).
inline void quit_cleanly(EngineProcess& engine) {
    const auto rest = engine.sync();
    ASSERT_TRUE(rest) << "no readyok before quit";
    EXPECT_TRUE(rest->empty()) << "unexpected line: " << rest->front();
    engine.send("quit");
    EXPECT_EQ(engine.wait_exit(std::chrono::milliseconds(10000)), 0);
}
