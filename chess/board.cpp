#include "chess/board.h"

#include "chess/custom_exception.h"

Board current_position;

void Board::add_piece(const Piece& piece, const Coords& square) {
    if (!pieces.emplace(square, piece).second) throw CustomException("Trying to add piece in nonempty square");
}

void Board::remove_piece(const Coords& square) {
    if (pieces.erase(square) == 0) throw CustomException("Trying to remove piece from empty square");
}

Piece Board::get_piece(const Coords& square) const {
    const Piece* piece = piece_at(square);
    if (piece == nullptr) throw CustomException("Trying to get piece from empty square");
    return *piece;
}

bool Board::has_piece(const Coords& square) const { return pieces.find(square) != pieces.end(); }

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
