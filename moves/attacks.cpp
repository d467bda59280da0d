#include "moves/attacks.h"

#include <cstdlib>

namespace {
const Piece* probe(const Board& board, int32_t x, int32_t y) {
    if (!Coords::on_board(x, y)) return nullptr;
    return board.piece_at(Coords(x, y));
}

bool holds(const Piece* piece, Color color, PieceKind kind) {
    return piece != nullptr && piece->color == color && piece->kind == kind;
}
}  // namespace

bool is_attacked(const Board& board, const Coords& square, Color attacker) {
    attacker.inverse();  // refuses a colour that is neither
    const int32_t x = square.x;
    const int32_t y = square.y;

    for (int32_t dx = -1; dx <= 1; ++dx) {
        for (int32_t dy = -1; dy <= 1; ++dy) {
            if (dx == 0 && dy == 0) continue;
            const bool diagonal = dx != 0 && dy != 0;
            for (int32_t k = 1;; ++k) {
                const int32_t tx = x + k * dx;
                const int32_t ty = y + k * dy;
                if (!Coords::on_board(tx, ty)) break;
                const Piece* piece = board.piece_at(Coords(tx, ty));
                if (piece == nullptr) continue;
                if (piece->color == attacker) {
                    switch (piece->kind) {
                        case PieceKind::queen: return true;
                        case PieceKind::bishop: if (diagonal) return true; break;
                        case PieceKind::rook: if (!diagonal) return true; break;
                        case PieceKind::king: if (k == 1) return true; break;
                        default: break;
                    }
                }
                break;
            }
        }
    }

    const int32_t d = attacker == Color::black ? 1 : -1;
    if (holds(probe(board, x - 1, y + d), attacker, PieceKind::pawn)) return true;
    if (holds(probe(board, x + 1, y + d), attacker, PieceKind::pawn)) return true;

    for (int32_t dx = -2; dx <= 2; ++dx) {
        for (int32_t dy = -2; dy <= 2; ++dy) {
            if (std::abs(dx) + std::abs(dy) != 3) continue;
            if (holds(probe(board, x + dx, y + dy), attacker, PieceKind::knight)) return true;
        }
    }
    return false;
}

bool in_check(const Board& board, Color color) {
    if (color == Color()) color = board.side_to_move;
    for (const auto& [square, piece] : board.pieces) {
        if (piece.color == color && piece.kind == PieceKind::king) {
            return is_attacked(board, square, piece.color.inverse());
        }
    }
    return false;
}
