// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/board.h"
#include "core/console.h"
#include "moves/make_move.h"
#include "moves/move.h"
#include "uci/commands.h"

void position_command(const Tokens& tokens) {
    const std::size_t n = tokens.size();
    if (n <= 1) {
        console_write(unknown_command_reply);
        return;
    }

    std::size_t moves_index = 0;
    if (tokens[1] == "startpos") {
        current_position = Board::start_position();
        moves_index = 2;
    } else if (tokens[1] == "fen") {
        std::string fen;
        std::size_t index = 2;
        for (; index < n && tokens[index] != "moves"; ++index) {
            fen += tokens[index];
            fen += ' ';
        }
        if (index != 2) moves_index = index;
        try {
            current_position = Board(fen);
        } catch (...) {
            console_write("Bad fen.\n");
        }
    }

    if (moves_index < n && tokens[moves_index] == "moves") {
        for (std::size_t index = moves_index + 1; index < n; ++index) {
            const Move move = Move::from_uci(current_position, tokens[index]);
            make_move(current_position, move);
        }
    }
}
