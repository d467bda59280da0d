// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <list>
#include <optional>

#include "chess/board.h"
#include "moves/make_move.h"
#include "moves/move.h"

// A generated move with its ordering key.
struct ScoredMove {
    int32_t priority;
    Move move;
};

using MoveList = std::list<ScoredMove, PoolAllocator<ScoredMove>>;

// All legal moves of the side to move, sorted by descending priority, ties in
// generation order. `board` is used for trial moves and restored.
MoveList legal_moves(Board& board);

// The pseudo-legal moves of the side to move, in generation order (the moves
// that legal_moves tests, before its filter and its sort).
MoveList pseudo_legal_moves(const Board& board);

// The pseudo-legal moves sorted as legal_moves sorts: its legal moves come in
// exactly legal_moves' order. For the search and perft, which test each move
// for legality on the make they do anyway (make_legal_move), so that a move
// never reached is never tested.
MoveList ordered_moves(const Board& board);

// The captures and en passant captures among ordered_moves, in its order
// (capturing promotions are not among them); no other move is generated.
MoveList ordered_captures(const Board& board);

// Makes `move` and returns its undo record when it leaves its mover's king
// unattacked; otherwise takes it back and returns nothing. The one legality
// test: make, ask whether the mover's king is attacked, unmake if it is.
std::optional<MoveUndo> make_legal_move(Board& board, const Move& move);

// The legal moves of the piece on `square`, in generation order.
MoveList piece_moves(Board& board, const Coords& square);

// Sorts by descending priority, keeping the order of equal priorities: the
// order that std::list::sort with "greater priority" gives.
void sort_by_priority(MoveList& list);

// True when `move` would leave its mover's king attacked.
bool leaves_king_attacked(Board& board, const Move& move);

// Pseudo-legal moves of the piece on `square`, which must be of the kind named.
MoveList pawn_moves(const Board& board, const Coords& square);
MoveList knight_moves(const Board& board, const Coords& square);
MoveList bishop_moves(const Board& board, const Coords& square);
MoveList rook_moves(const Board& board, const Coords& square);
MoveList queen_moves(const Board& board, const Coords& square);
MoveList king_moves(const Board& board, const Coords& square);
