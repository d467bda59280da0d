// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/board.h"

#include "core/custom_exception.h"

Board current_position;

void Board::throw_nonempty_square() { throw CustomException("Trying to add piece in nonempty square"); }

void Board::throw_remove_empty_square() { throw CustomException("Trying to remove piece from empty square"); }

void Board::throw_get_empty_square() { throw CustomException("Trying to get piece from empty square"); }

namespace {
int32_t sign(int32_t value) { return (value > 0) - (value < 0); }
}  // namespace

bool Board::is_line_free(const Coords& from, const Coords& to) const {
    const int32_t dx = sign(to.x - from.x);
    const int32_t dy = sign(to.y - from.y);
    for (int32_t k = 1; k <= 8; ++k) {
        const int32_t x = from.x + k * dx;
        const int32_t y = from.y + k * dy;
        if (!Coords::on_board(x, y)) return true;
        const Coords square(x, y);
        if (square == to) return true;
        if (has_piece(square)) return false;
    }
    return true;
}
