// SPDX-License-Identifier: GPL-3.0-or-later
#include "moves/move.h"

std::string Move::to_uci() const {
    std::string text = from.to_string() + to.to_string();
    if (kind == MoveKind::promotion) {
        switch (promotion) {
            case PieceKind::knight: text += 'n'; break;
            case PieceKind::bishop: text += 'b'; break;
            case PieceKind::rook: text += 'r'; break;
            case PieceKind::queen: text += 'q'; break;
            default: break;
        }
    }
    return text;
}

namespace {
bool is_pawn(const Piece* piece) { return piece != nullptr && piece->kind == PieceKind::pawn; }
}  // namespace

Move Move::from_uci(const Board& board, std::string text) {
    const Coords from(text);
    const Coords to(text.substr(2));
    const Piece piece = board.get_piece(from);

    if (piece.kind == PieceKind::king && (to.x - from.x == 2 || from.x - to.x == 2) && (to.x == 3 || to.x == 7)) {
        return Move(from, to, MoveKind::castling);
    }
    if ((to.y == 3 || to.y == 6) && piece.kind == PieceKind::pawn && board.en_passant && *board.en_passant == to) {
        const Piece* captured = board.piece_at(Coords(to.x, to.y == 3 ? 4 : 5));
        if (is_pawn(captured) && captured->color != piece.color) return Move(from, to, MoveKind::en_passant);
    }
    if (piece.kind == PieceKind::pawn && (to.y == 1 || to.y == 8)) {
        const std::string letter = text.size() > 4 ? text.substr(4, 1) : std::string();
        return Move(from, to, Piece::from_fen(letter).kind, MoveKind::promotion);
    }
    if (board.has_piece(to)) return Move(from, to, MoveKind::capture);
    if (piece.kind == PieceKind::pawn && ((piece.color == Color::white && from.y == 2 && to.y == 4) ||
                                          (piece.color != Color::white && from.y == 7 && to.y == 5))) {
        return Move(from, to, MoveKind::double_push);
    }
    return Move(from, to, MoveKind::quiet);
}
