// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "chess/board.h"
#include "chess/coords.h"
#include "chess/piece.h"

// How a move changes the board; decided once, when the move is created.
enum class MoveKind : int32_t {
    none = 0,  // only the default move a1a1
    quiet = 1,
    capture = 2,
    en_passant = 3,
    castling = 4,
    promotion = 5,
    double_push = 6,
};

class Move {
public:
    // The default move: a1a1, no promotion, kind none.
    Move() : from(1, 1), to(1, 1) {}
    Move(Coords from, Coords to, PieceKind promotion, MoveKind kind)
        : from(from), to(to), promotion(promotion), kind(kind) {}
    Move(Coords from, Coords to, MoveKind kind) : from(from), to(to), kind(kind) {}

    // UCI long algebraic text: e2e4, e7e8q.
    std::string to_uci() const;
    // Reads UCI text and classifies it against `board`, the position in which
    // the move is about to be played. Checks no legality.
    static Move from_uci(const Board& board, std::string text);

    Coords from;
    Coords to;
    PieceKind promotion = PieceKind::none;
    MoveKind kind = MoveKind::none;
};
