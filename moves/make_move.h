// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <list>
#include <optional>

#include "chess/board.h"
#include "moves/move.h"

enum class ChangeOp : int32_t { move = 0, add = 1, remove = 2 };

// One placement step of an undo record. Fields an operation does not use hold
// a1 and the default piece.
struct BoardChange {
    Coords from{1, 1};    // move: the square the piece stands on now
    Coords to{1, 1};      // move: the square it goes back to
    Piece piece;          // add: the piece to put back
    Coords square{1, 1};  // add and remove: the square concerned
    ChangeOp op = ChangeOp::move;
};

using ChangeList = std::list<BoardChange, PoolAllocator<BoardChange>>;

// What unmake_move needs to take a move back.
struct MoveUndo {
    ChangeList changes;  // replayed front to back
    std::optional<Coords> en_passant;
    RookingPosibility rooking;
};

// Plays `move` on `board` in place. A move that does not fit the board throws
// and leaves the board exactly as it was.
MoveUndo make_move(Board& board, const Move& move);

// Takes back the last move made on `board`.
void unmake_move(Board& board, const MoveUndo& undo);
