// SPDX-License-Identifier: GPL-3.0-or-later
#include "moves/attacks.h"

namespace {
const Piece* probe(const Board& board, int32_t x, int32_t y) {
    if (!Coords::on_board(x, y)) return nullptr;
    return board.piece_at(Coords(x, y));
}

bool holds(const Piece* piece, Color color, PieceKind kind) {
    return piece != nullptr && piece->color == color && piece->kind == kind;
}

struct Direction {
    int32_t dx;
    int32_t dy;
    bool diagonal;
};

// The eight lines, dx outermost from -1 to +1 and dy inside it.
constexpr Direction lines[] = {{-1, -1, true}, {-1, 0, false}, {-1, 1, true}, {0, -1, false},
                               {0, 1, false},  {1, -1, true},  {1, 0, false}, {1, 1, true}};

// The knight squares, dx outermost from -2 to +2 and dy inside it.
constexpr Direction knight_steps[] = {{-2, -1, false}, {-2, 1, false}, {-1, -2, false}, {-1, 2, false},
                                      {1, -2, false},  {1, 2, false},  {2, -1, false},  {2, 1, false}};
}  // namespace

bool is_attacked(const Board& board, const Coords& square, Color attacker) {
    attacker.inverse();  // refuses a colour that is neither
    const int32_t x = square.x;
    const int32_t y = square.y;
    // The rank step from the square to a pawn of `attacker` that takes on it.
    const int32_t d = attacker == Color::black ? 1 : -1;

    // The first square of each line is also read for the pawns and the king:
    // a pawn attacks from the first square of the two diagonals that lead
    // back towards its own side, a king from the first square of any line.
    for (const Direction& line : lines) {
        int32_t tx = x;
        int32_t ty = y;
        for (int32_t k = 1;; ++k) {
            tx += line.dx;
            ty += line.dy;
            if (!Coords::on_board(tx, ty)) break;
            const Piece* piece = board.piece_at(Coords(tx, ty));
            if (piece == nullptr) continue;
            if (piece->color == attacker) {
                switch (piece->kind) {
                    case PieceKind::queen: return true;
                    case PieceKind::bishop:
                        if (line.diagonal) return true;
                        break;
                    case PieceKind::rook:
                        if (!line.diagonal) return true;
                        break;
                    case PieceKind::king:
                        if (k == 1) return true;
                        break;
                    case PieceKind::pawn:
                        if (k == 1 && line.diagonal && line.dy == d) return true;
                        break;
                    default: break;
                }
            }
            break;
        }
    }

    for (const Direction& step : knight_steps) {
        if (holds(probe(board, x + step.dx, y + step.dy), attacker, PieceKind::knight)) return true;
    }
    return false;
}

bool in_check(const Board& board, Color color) {
    if (color == Color()) color = board.side_to_move;
    const auto* king = first_entry(board.pieces, [color](const PieceMap::value_type& entry) {
        return entry.second.color == color && entry.second.kind == PieceKind::king;
    });
    if (king == nullptr) return false;
    return is_attacked(board, king->first, king->second.color.inverse());
}
