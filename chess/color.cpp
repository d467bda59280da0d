// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/color.h"

#include "core/custom_exception.h"

Color Color::from_fen(std::string text) {
    if (text == "w" || text == "W") return white;
    if (text == "b" || text == "B") return black;
    throw CustomException("Bad fen color in from_fen()");
}

std::string Color::to_fen() const {
    if (*this == white) return "w";
    if (*this == black) return "b";
    throw CustomException("Bad color in to_fen()");
}

void Color::throw_no_color() { throw CustomException("Bad color in Color::inverse()"); }
