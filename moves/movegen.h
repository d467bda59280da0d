#pragma once

#include <cstdint>
#include <list>

#include "chess/board.h"
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

// The captures and en passant captures among the legal moves (capturing
// promotions are not among them), in the order they have in legal_moves.
MoveList legal_captures(Board& board);

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
