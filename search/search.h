// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <list>

#include "chess/board.h"
#include "moves/move.h"

constexpr int32_t SCORE_INFINITY = 2147483647;

// A principal variation: the move to play here, the reply, and so on.
using Line = std::list<Move, PoolAllocator<Move>>;

struct SearchResult {
    int32_t score;  // from the view of the side to move at the node
    Line pv;
};

// One iteration: alpha-beta on search_board with the full window.
SearchResult search_root(uint32_t depth);

SearchResult alpha_beta(Board& board, int32_t alpha, int32_t beta, uint32_t depth, bool check_stop);
SearchResult quiescence(Board& board, int32_t alpha, int32_t beta, bool check_stop);
