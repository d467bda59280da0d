// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// A square: x is the file (1 for a .. 8 for h), y the rank (1..8). Both
// constructors validate; a Coords off the board is never handed out.
class Coords {
public:
    Coords(int32_t x, int32_t y) : x(x), y(y) {
        if (!on_board(x, y)) throw_off_board();
    }
    // Reads a square name such as "e4"; characters after the second are ignored.
    explicit Coords(std::string text);

    std::string to_string() const;

    bool operator==(const Coords& other) const { return key() == other.key(); }
    bool operator!=(const Coords& other) const { return !(*this == other); }
    // Rank first, then file: a1, b1, ..., h1, a2, ..., h8.
    bool operator<(const Coords& other) const { return key() < other.key(); }

    int32_t x;
    int32_t y;

    static bool on_board(int32_t x, int32_t y) {
        return static_cast<uint32_t>(x - 1) < 8u && static_cast<uint32_t>(y - 1) < 8u;
    }

private:
    [[noreturn]] static void throw_off_board();

    uint64_t key() const { return (static_cast<uint64_t>(static_cast<uint32_t>(y)) << 32) | static_cast<uint32_t>(x); }
};
