#include "chess/board.h"
#include "chess/piece.h"

// The engine judges positions by material alone.

int32_t Piece::value() const {
    switch (kind) {
        case PieceKind::pawn: return 1000;
        case PieceKind::knight: return 3250;
        case PieceKind::bishop: return 3250;
        case PieceKind::rook: return 5000;
        case PieceKind::queen: return 9750;
        default: return 0;
    }
}

int32_t Board::evaluate() const {
    int32_t balance = 0;
    for (const auto& [square, piece] : pieces) {
        if (piece.color == side_to_move) {
            balance += piece.value();
        } else {
            balance -= piece.value();
        }
    }
    return balance;
}
