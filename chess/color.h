// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// Which side: Color::black (1) or Color::white (2). The default value 0 is no
// colour; to_fen and inverse reject it.
class Color {
public:
    static const Color black;
    static const Color white;

    constexpr Color() = default;
    constexpr explicit Color(int32_t value) : value(value) {}

    static Color from_fen(std::string text);
    std::string to_fen() const;
    Color inverse() const {
        if (value == 2) return Color(1);
        if (value == 1) return Color(2);
        throw_no_color();
    }

    constexpr bool operator==(Color other) const { return value == other.value; }
    constexpr bool operator!=(Color other) const { return value != other.value; }

    int32_t value = 0;

private:
    [[noreturn]] static void throw_no_color();
};

inline constexpr Color Color::black{1};
inline constexpr Color Color::white{2};
