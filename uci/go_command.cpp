// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/board.h"
#include "core/console.h"
#include "search/search_control.h"
#include "uci/commands.h"

namespace {
// The clock parameters of the last go; 0 means not given.
uint32_t white_time = 0;
uint32_t black_time = 0;
uint32_t white_increment = 0;
uint32_t black_increment = 0;
uint32_t moves_to_go = 0;

// The time for one move from the side to move's clock: an even share of the
// remaining time plus one increment, capped to whole 100 ms slices of the
// timer (which stops the search at the budget rounded up to 100 ms).
uint32_t clock_budget(Color side) {
    const bool white = side == Color::white;
    const uint32_t remaining = white ? white_time : black_time;
    const uint32_t increment = white ? white_increment : black_increment;
    const uint32_t moves = moves_to_go != 0 ? moves_to_go : 40;
    uint32_t budget = (moves * increment + remaining) / moves;
    if (remaining != 0) {
        // The search stops at least 100 ms, or a twentieth of the remaining
        // time when that is more, before the clock runs out: the GUI, its
        // adapter and a loaded machine take their share of what is left.
        const uint32_t twentieth = remaining / 20 + (remaining % 20 != 0 ? 1 : 0);
        const uint32_t margin = twentieth > 100 ? twentieth : 100;
        const uint32_t cap = remaining > margin ? (remaining - margin) / 100 * 100 : 0;
        if (budget > cap) budget = cap;
    }
    return budget;
}
}  // namespace

void go_command(const Tokens& tokens) {
    prepare_search();
    search_board = current_position;
    const Color side = current_position.side_to_move;
    white_time = black_time = white_increment = black_increment = moves_to_go = 0;

    const std::size_t n = tokens.size();
    for (std::size_t index = 1; index < n;) {
        const std::string& word = tokens[index];
        if (word == "infinite") {
            index += 1;
            continue;
        }
        uint32_t* target = nullptr;
        if (word == "depth") target = &max_depth;
        else if (word == "movetime") target = &move_time;
        else if (word == "wtime") target = &white_time;
        else if (word == "btime") target = &black_time;
        else if (word == "winc") target = &white_increment;
        else if (word == "binc") target = &black_increment;
        else if (word == "movestogo") target = &moves_to_go;
        if (target == nullptr) {
            console_write(unknown_command_reply);
            return;
        }
        *target = read_number(token_at(tokens, index + 1));
        index += 2;
    }

    if (move_time == NO_LIMIT &&
        (white_time != 0 || black_time != 0 || white_increment != 0 || black_increment != 0 || moves_to_go != 0)) {
        move_time = clock_budget(side);
    }
    start_search();
}
