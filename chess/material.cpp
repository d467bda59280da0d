#include "chess/board.h"
#include "chess/piece.h"

// The engine judges positions by material alone.

int32_t Board::evaluate() const {
    int32_t balance = 0;
    for_each_entry(pieces, [this, &balance](const PieceMap::value_type& entry) {
        const Piece& piece = entry.second;
        if (piece.color == side_to_move) {
            balance += piece.value();
        } else {
            balance -= piece.value();
        }
    });
    return balance;
}
