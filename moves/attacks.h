// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/board.h"

// True when a piece of colour `attacker` could capture on `square` by its
// moving pattern (pins and checks aside). Throws for a colour that is neither.
bool is_attacked(const Board& board, const Coords& square, Color attacker);

// True when the king of `color` stands on an attacked square; the default
// colour stands for the side to move. No such king: false.
bool in_check(const Board& board, Color color = Color());
