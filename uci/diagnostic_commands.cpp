// SPDX-License-Identifier: GPL-3.0-or-later
#include <sstream>

#include "chess/board.h"
#include "core/console.h"
#include "moves/perft.h"
#include "search/clock.h"
#include "uci/commands.h"

void perft_command(const Tokens& tokens) {
    if (tokens.size() != 2) {
        console_write(unknown_command_reply);
        return;
    }
    const uint32_t depth = read_number(tokens[1]);
    const int64_t t0 = clock_ticks();
    const uint64_t total = perft_divide(depth);
    const int64_t t1 = clock_ticks();

    const double seconds = static_cast<double>(t1 - t0) / ticks_per_second;
    const double rate = static_cast<double>(total) / seconds * 0.001;
    std::ostringstream summary;
    summary << "\n    Total: " << total << " nodes\n";
    summary << "    Time: " << seconds << "sec\n";
    // "Perfomance" is spelt as the engine has always written it, and scripts
    // match it: kept on purpose.
    summary << "    Perfomance: " << rate << "kN/sec\n";
    console_write(summary.str());
}

void board_command() { console_write(current_position.to_fen() + "\n"); }

void pieces_command() {
    std::string listing;
    for (const auto& [square, piece] : current_position.pieces) {
        listing += square.to_string() + ", " + piece.to_fen() + "\n";
    }
    console_write(listing);
}
