// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/coords.h"

#include <stdexcept>

#include "core/custom_exception.h"

void Coords::throw_off_board() { throw CustomException("Invalid Coords in constructor"); }

namespace {
char char_at(const std::string& text, std::size_t index) {
    if (index >= text.size()) throw std::out_of_range("invalid string position");
    return text[index];
}

int32_t file_of(const std::string& text) {
    return static_cast<int32_t>(static_cast<signed char>(char_at(text, 0))) - 96;
}

int32_t rank_of(const std::string& text) {
    return static_cast<int32_t>(static_cast<signed char>(char_at(text, 1))) - 48;
}
}  // namespace

Coords::Coords(std::string text) : Coords(file_of(text), rank_of(text)) {}

std::string Coords::to_string() const {
    std::string text(2, ' ');
    text[0] = static_cast<char>(static_cast<uint8_t>(x + 96));
    text[1] = static_cast<char>(static_cast<uint8_t>(y + 48));
    return text;
}
