// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "chess/board.h"

// True when both boards hold the same position: placement, side to move,
// castling rights, en passant square and both move counters.
bool same_position(const Board& a, const Board& b);

// A readable dump of every field of `board`, for failure messages; unlike
// to_fen it never throws.
std::string describe(const Board& board);

// Prints `what` with both boards to standard error and aborts, so that the
// fuzzer records the input as a crash.
[[noreturn]] void fail(const std::string& what, const Board& expected, const Board& actual);
