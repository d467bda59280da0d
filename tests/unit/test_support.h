// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "chess/board.h"
#include "core/custom_exception.h"
#include "moves/movegen.h"
#include "search/search.h"
#include "search/search_control.h"

// The message of the exception of type `Exception` that `action` throws, or a
// marker text when it throws nothing. Any other exception type escapes and
// fails the test that called it.
template <typename Exception = CustomException, typename Action>
std::string thrown_message(Action&& action) {
    try {
        action();
    } catch (const Exception& error) {
        return error.what();
    }
    return "<nothing thrown>";
}

constexpr int32_t INF = 2147483647;  // the search's window bound, SCORE_INFINITY

// Direct calls into the search need the stop flag clear and count from zero;
// between searches the flag is set, as the command loop expects it. The
// state lives from construction to destruction; the search board is emptied
// at the end.
class SearchState {
public:
    SearchState() {
        search_stopped = false;
        node_count = 0;
    }
    ~SearchState() {
        search_stopped = true;
        node_count = 0;
        search_board = Board::empty_board();
    }
    SearchState(const SearchState&) = delete;
    SearchState& operator=(const SearchState&) = delete;
};

// A line's moves as UCI text, separated by one blank.
inline std::string line_text(const Line& line) {
    std::string text;
    for (const Move& move : line) text += (text.empty() ? "" : " ") + move.to_uci();
    return text;
}

// The moves of a list as UCI text, in list order.
inline std::vector<std::string> uci_texts(const MoveList& list) {
    std::vector<std::string> texts;
    for (const ScoredMove& scored : list) texts.push_back(scored.move.to_uci());
    return texts;
}

inline std::vector<int32_t> priorities(const MoveList& list) {
    std::vector<int32_t> keys;
    for (const ScoredMove& scored : list) keys.push_back(scored.priority);
    return keys;
}

// The moves of `list` that start on `from`, in list order.
inline MoveList moves_from(const MoveList& list, const std::string& from) {
    MoveList picked;
    for (const ScoredMove& scored : list) {
        if (scored.move.from == Coords(from)) picked.push_back(scored);
    }
    return picked;
}

inline Coords sq(const char* name) { return Coords(std::string(name)); }

// Collects what the engine writes to standard output while it lives.
class CapturedOutput {
public:
    CapturedOutput() : previous(std::cout.rdbuf(text.rdbuf())) {}
    ~CapturedOutput() { std::cout.rdbuf(previous); }
    std::vector<std::string> lines() const {
        std::vector<std::string> result;
        std::istringstream input(text.str());
        for (std::string line; std::getline(input, line);) result.push_back(line);
        return result;
    }
    std::string all() const { return text.str(); }

private:
    std::ostringstream text;
    std::streambuf* previous;
};
