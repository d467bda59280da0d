// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "chess/board.h"
#include "moves/attacks.h"
#include "moves/make_move.h"
#include "moves/movegen.h"
#include "search/search.h"
#include "unit/test_support.h"

// A search written apart from the engine's, to check its figures: it asks
// legal_moves for each node's whole legal list, where the engine tests each
// move for legality only when it makes it.
namespace reference {
inline bool is_capture(const Move& move) { return move.kind == MoveKind::capture || move.kind == MoveKind::en_passant; }

// Fail-hard alpha-beta that carries the ply instead of the root depth. It
// visits the same tree as a fail-soft search with the same move order, so it
// must count the same nodes: one per alpha-beta call and one per quiescence
// call, a horizon node twice.
class ReferenceSearch {
public:
    uint64_t nodes = 0;

    int32_t search(Board& board, int32_t alpha, int32_t beta, uint32_t depth, int32_t ply, Line& pv) {
        ++nodes;
        pv.clear();
        if (depth == 0) return quiesce(board, alpha, beta, pv);
        const MoveList moves = legal_moves(board);
        if (moves.empty()) {
            const int32_t value = in_check(board) ? ply - INF : 0;
            return std::clamp(value, alpha, beta);
        }
        return best_of(board, moves, false, alpha, beta, pv,
                       [&](int32_t a, int32_t b, Line& line) { return search(board, a, b, depth - 1, ply + 1, line); });
    }

    int32_t quiesce(Board& board, int32_t alpha, int32_t beta, Line& pv) {
        ++nodes;
        pv.clear();
        const int32_t stand = board.evaluate();
        if (stand >= beta) return beta;
        alpha = std::max(alpha, stand);
        return best_of(board, legal_moves(board), true, alpha, beta, pv,
                       [&](int32_t a, int32_t b, Line& line) { return quiesce(board, a, b, line); });
    }

private:
    // Tries the moves (only the captures, if asked) in list order, fail-hard;
    // `child` searches the position after each with the window it is given.
    template <class Child>
    static int32_t best_of(Board& board, const MoveList& moves, bool captures_only, int32_t alpha, int32_t beta,
                           Line& pv, Child child) {
        for (const ScoredMove& scored : moves) {
            if (captures_only && !is_capture(scored.move)) continue;
            Line line;
            const MoveUndo undo = make_move(board, scored.move);
            const int32_t value = -child(-beta, -alpha, line);
            unmake_move(board, undo);
            if (value >= beta) {
                pv.clear();
                return beta;
            }
            if (value > alpha) {
                alpha = value;
                pv = line;
                pv.push_front(scored.move);
            }
        }
        return alpha;
    }
};

// The number of legal move sequences of `depth` moves, from legal_moves' lists.
inline uint64_t legal_perft(Board& board, uint32_t depth) {
    if (depth == 0) return 1;
    uint64_t count = 0;
    for (const ScoredMove& scored : legal_moves(board)) {
        const MoveUndo undo = make_move(board, scored.move);
        count += legal_perft(board, depth - 1);
        unmake_move(board, undo);
    }
    return count;
}
}  // namespace reference
