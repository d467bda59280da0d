#include "chess/board.h"
#include "chess/piece.h"

// The engine judges positions by material alone.

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
