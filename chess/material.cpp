// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/board.h"
#include "chess/piece.h"

// The engine judges positions by material alone.

int32_t Board::evaluate() const {
    return sum_entries(pieces, [this](const PieceMap::value_type& entry) {
        const Piece& piece = entry.second;
        return piece.color == side_to_move ? piece.value() : -piece.value();
    });
}
