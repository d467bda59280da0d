// SPDX-License-Identifier: GPL-3.0-or-later
#include "same_position.h"

#include <cstdio>
#include <cstdlib>

bool same_position(const Board& a, const Board& b) {
    return a.pieces == b.pieces && a.side_to_move == b.side_to_move && a.rooking == b.rooking &&
           a.en_passant == b.en_passant && a.halfmove_clock == b.halfmove_clock &&
           a.fullmove_number == b.fullmove_number;
}

std::string describe(const Board& board) {
    std::string text = "pieces:";
    for (const auto& [square, piece] : board.pieces) {
        text += " " + std::to_string(square.x) + "," + std::to_string(square.y) + "=" +
                std::to_string(piece.color.value) + "/" + std::to_string(static_cast<int>(piece.kind));
    }
    text += " side: " + std::to_string(board.side_to_move.value);
    text += " rooking: " + board.rooking.to_fen();
    text += " en passant: ";
    text += board.en_passant ? std::to_string(board.en_passant->x) + "," + std::to_string(board.en_passant->y) : "-";
    text += " counters: " + std::to_string(board.halfmove_clock) + " " + std::to_string(board.fullmove_number);
    return text;
}

void fail(const std::string& what, const Board& expected, const Board& actual) {
    std::fprintf(stderr, "%s\n  expected %s\n  actual   %s\n", what.c_str(), describe(expected).c_str(),
                 describe(actual).c_str());
    std::abort();
}
