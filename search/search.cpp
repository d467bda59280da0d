// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search.h"

#include "moves/attacks.h"
#include "moves/make_move.h"
#include "moves/movegen.h"
#include "search/search_control.h"

namespace {
bool stop_requested(bool check_stop) {
    if (!check_stop) return false;
    ++node_count;
    return search_stopped.load(std::memory_order_relaxed);
}

bool stopped(bool check_stop) { return check_stop && search_stopped.load(std::memory_order_relaxed); }
}  // namespace

SearchResult search_root(uint32_t depth) {
    root_depth = depth;
    return alpha_beta(search_board, -SCORE_INFINITY, SCORE_INFINITY, depth, true);
}

SearchResult alpha_beta(Board& board, int32_t alpha, int32_t beta, uint32_t depth, bool check_stop) {
    if (stop_requested(check_stop)) return SearchResult{-SCORE_INFINITY, {}};
    if (depth == 0) return quiescence(board, alpha, beta, check_stop);

    // Each move is tested for legality on the make that searches it; the
    // legal ones come in legal_moves' order, and a move after a cut-off is
    // never made at all.
    SearchResult best{alpha, {}};
    bool any_legal = false;
    for (const ScoredMove& scored : ordered_moves(board)) {
        if (stopped(check_stop)) return SearchResult{-SCORE_INFINITY, {}};
        const std::optional<MoveUndo> undo = make_legal_move(board, scored.move);
        if (!undo) continue;
        any_legal = true;
        SearchResult child = alpha_beta(board, -beta, -best.score, depth - 1, check_stop);
        const int32_t score = -child.score;
        if (score > best.score) {
            best.score = score;
            best.pv = std::move(child.pv);
            best.pv.push_front(scored.move);
        }
        unmake_move(board, *undo);
        if (best.score >= beta) return SearchResult{best.score, {}};
    }
    if (!any_legal) {
        if (in_check(board)) return SearchResult{static_cast<int32_t>(root_depth - depth) - SCORE_INFINITY, {}};
        return SearchResult{0, {}};
    }
    return best;
}

SearchResult quiescence(Board& board, int32_t alpha, int32_t beta, bool check_stop) {
    if (stop_requested(check_stop)) return SearchResult{-SCORE_INFINITY, {}};
    const int32_t stand = board.evaluate();
    SearchResult best{alpha > stand ? alpha : stand, {}};
    if (stand >= beta) return SearchResult{stand, {}};

    // Only the captures are generated, in the order they have in the legal
    // list, each tested for legality on its own make.
    for (const ScoredMove& scored : ordered_captures(board)) {
        const std::optional<MoveUndo> undo = make_legal_move(board, scored.move);
        if (!undo) continue;
        SearchResult child = quiescence(board, -beta, -best.score, check_stop);
        unmake_move(board, *undo);
        const int32_t score = -child.score;
        if (score > best.score) {
            best.score = score;
            best.pv = std::move(child.pv);
            best.pv.push_front(scored.move);
        }
        if (score >= beta) return SearchResult{score, std::move(best.pv)};
    }
    return best;
}
