// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The four castling rights. The type keeps its name, spelling included, as
// the engine has always called it; it is not a typo to fix.
class RookingPosibility {
public:
    static RookingPosibility from_fen(std::string text);
    std::string to_fen() const;

    bool operator==(const RookingPosibility& other) const {
        return white_king_side == other.white_king_side && white_queen_side == other.white_queen_side &&
               black_king_side == other.black_king_side && black_queen_side == other.black_queen_side;
    }
    bool operator!=(const RookingPosibility& other) const { return !(*this == other); }

    bool white_king_side = false;
    bool white_queen_side = false;
    bool black_king_side = false;
    bool black_queen_side = false;
};
