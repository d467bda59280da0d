// SPDX-License-Identifier: GPL-3.0-or-later
#include "moves/perft.h"

#include <string>

#include "core/console.h"
#include "moves/make_move.h"
#include "moves/movegen.h"

// Each move is tested for legality on the make that counts it; every leaf
// move is made and unmade. The count does not depend on the order in which
// the moves are tried, so below the root they are taken unsorted.
uint64_t perft(Board& board, uint32_t depth) {
    if (depth == 0) return 1;
    uint64_t count = 0;
    for (const ScoredMove& scored : pseudo_legal_moves(board)) {
        const std::optional<MoveUndo> undo = make_legal_move(board, scored.move);
        if (!undo) continue;
        // A leaf counts one (what perft at depth 0 returns), without the call.
        count += depth == 1 ? 1 : perft(board, depth - 1);
        unmake_move(board, *undo);
    }
    return count;
}

// The root's lines come in legal_moves' order.
uint64_t perft_divide(uint32_t depth) {
    if (depth == 0) return 1;
    uint64_t total = 0;
    for (const ScoredMove& scored : ordered_moves(current_position)) {
        const std::optional<MoveUndo> undo = make_legal_move(current_position, scored.move);
        if (!undo) continue;
        const uint64_t count = perft(current_position, depth - 1);
        console_write(scored.move.to_uci() + " - " + std::to_string(count) + "\n", true);
        total += count;
        unmake_move(current_position, *undo);
    }
    return total;
}
