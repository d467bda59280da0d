#include "moves/perft.h"

#include <string>

#include "chess/console.h"
#include "moves/make_move.h"
#include "moves/movegen.h"

uint64_t perft(Board& board, uint32_t depth) {
    if (depth == 0) return 1;
    uint64_t count = 0;
    for (const ScoredMove& scored : legal_moves(board)) {
        const MoveUndo undo = make_move(board, scored.move);
        count += perft(board, depth - 1);
        unmake_move(board, undo);
    }
    return count;
}

uint64_t perft_divide(uint32_t depth) {
    if (depth == 0) return 1;
    uint64_t total = 0;
    for (const ScoredMove& scored : legal_moves(current_position)) {
        const MoveUndo undo = make_move(current_position, scored.move);
        const uint64_t count = perft(current_position, depth - 1);
        console_write(scored.move.to_uci() + " - " + std::to_string(count) + "\n", true);
        total += count;
        unmake_move(current_position, undo);
    }
    return total;
}
