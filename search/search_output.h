// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "moves/move.h"
#include "search/search.h"

// The score field of an info line ("cp 25", "mate 1", "mate -2") for a root
// score. Mate distances are written in moves, negative when the side to move
// at the root is the one mated, as UCI asks.
std::string format_score(int32_t score);

// One info line for a finished iteration; `ticks` is its duration in 100 ns.
std::string format_info(uint32_t depth, const SearchResult& result, uint64_t nodes, int64_t ticks);

// The bestmove line; a move of no kind (no legal move at the root) is written
// as the null move 0000.
std::string format_bestmove(const Move& move);
