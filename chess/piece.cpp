// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/piece.h"

#include "core/custom_exception.h"

namespace {
// Indexed by kind - 1.
constexpr char black_letters[] = "pnbrqk";
constexpr char white_letters[] = "PNBRQK";
}  // namespace

Piece Piece::from_fen(std::string text) {
    if (text.size() == 1) {
        for (int32_t i = 0; i < 6; ++i) {
            if (text[0] == black_letters[i]) return Piece(Color::black, static_cast<PieceKind>(i + 1));
        }
        for (int32_t i = 0; i < 6; ++i) {
            if (text[0] == white_letters[i]) return Piece(Color::white, static_cast<PieceKind>(i + 1));
        }
    }
    throw CustomException("Bad fen in Piece::from_fen(). (" + text + ")");
}

std::string Piece::to_fen() const {
    const auto index = static_cast<int32_t>(kind) - 1;
    if (index >= 0 && index < 6) {
        if (color == Color::white) return std::string(1, white_letters[index]);
        if (color == Color::black) return std::string(1, black_letters[index]);
    }
    throw CustomException("Bad piece in Piece::to_fen()");
}
