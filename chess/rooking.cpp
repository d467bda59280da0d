// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/rooking.h"

#include "core/custom_exception.h"

RookingPosibility RookingPosibility::from_fen(std::string text) {
    RookingPosibility rooking;
    if (text == "-") return rooking;
    const auto has = [&text](char letter) { return text.find(letter) != std::string::npos; };
    rooking.white_king_side = has('K');
    rooking.white_queen_side = has('Q');
    rooking.black_king_side = has('k');
    rooking.black_queen_side = has('q');
    const std::size_t flags = static_cast<std::size_t>(rooking.white_king_side) + rooking.white_queen_side +
                              rooking.black_king_side + rooking.black_queen_side;
    if (flags != text.size()) throw CustomException("Bad fen in RookingPosibility::from_fen()");
    return rooking;
}

std::string RookingPosibility::to_fen() const {
    std::string text;
    if (white_king_side) text += 'K';
    if (white_queen_side) text += 'Q';
    if (black_king_side) text += 'k';
    if (black_queen_side) text += 'q';
    return text.empty() ? "-" : text;
}
