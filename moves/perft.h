// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "chess/board.h"

// The number of sequences of exactly `depth` legal moves from `board`; the
// board is changed during the call and restored.
uint64_t perft(Board& board, uint32_t depth);

// Counts on current_position, writing one line "<move> - <count>" per legal
// move as soon as its count is known, and returns the total. Depth 0 writes
// nothing and counts the one empty sequence.
uint64_t perft_divide(uint32_t depth);
