// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "chess/color.h"

enum class PieceKind : int32_t { none = 0, pawn = 1, knight = 2, bishop = 3, rook = 4, queen = 5, king = 6 };

// A piece: its colour and kind, written as its FEN letter (upper case white).
class Piece {
public:
    constexpr Piece() = default;
    constexpr Piece(Color color, PieceKind kind) : color(color), kind(kind) {}

    static Piece from_fen(std::string text);
    std::string to_fen() const;

    // Material value in score units (a pawn is 1000); the colour plays no part.
    int32_t value() const {
        switch (kind) {
            case PieceKind::pawn: return 1000;
            case PieceKind::knight: return 3250;
            case PieceKind::bishop: return 3250;
            case PieceKind::rook: return 5000;
            case PieceKind::queen: return 9750;
            default: return 0;
        }
    }

    constexpr bool operator==(const Piece& other) const { return color == other.color && kind == other.kind; }
    constexpr bool operator!=(const Piece& other) const { return !(*this == other); }

    Color color;
    PieceKind kind = PieceKind::none;
};
