// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "chess/coords.h"
#include "chess/piece.h"
#include "chess/piece_map.h"
#include "chess/rooking.h"

// A whole chess position: placement, side to move, castling rights, en passant
// square and the two move counters.
class Board {
public:
    Board() = default;
    // Reads a FEN text; throws on any fault and leaves no board behind.
    explicit Board(std::string fen);

    static Board start_position();
    static Board empty_board();

    void add_piece(const Piece& piece, const Coords& square) {
        if (!pieces.emplace(square, piece).second) throw_nonempty_square();
    }
    void remove_piece(const Coords& square) {
        // find and erase by position: one descent, where erase by key
        // walks the tree twice for the range of equal keys.
        const auto found = find_entry(pieces, square);
        if (found == pieces.end()) throw_remove_empty_square();
        pieces.erase(found);
    }
    // The entry of an occupied square, for a read of its piece followed by
    // remove_entry: one lookup for both. Throws as get_piece does.
    PieceMap::iterator occupied_entry(const Coords& square) {
        const auto found = find_entry(pieces, square);
        if (found == pieces.end()) throw_get_empty_square();
        return found;
    }
    // Takes the piece of an entry from occupied_entry off the board. The
    // entry stays valid while pieces are added on or removed from other
    // squares in between.
    void remove_entry(PieceMap::iterator entry) { pieces.erase(entry); }
    Piece get_piece(const Coords& square) const {
        const Piece* piece = piece_at(square);
        if (piece == nullptr) throw_get_empty_square();
        return *piece;
    }
    bool has_piece(const Coords& square) const { return find_piece(pieces, square) != nullptr; }
    // The piece on `square`, or nullptr when it is empty: one map lookup.
    const Piece* piece_at(const Coords& square) const { return find_piece(pieces, square); }
    // True when the squares strictly between `from` and `to` are empty.
    bool is_line_free(const Coords& from, const Coords& to) const;

    std::string to_fen() const;
    // Material balance from the side to move's point of view.
    int32_t evaluate() const;

    PieceMap pieces;
    Color side_to_move;
    RookingPosibility rooking;
    std::optional<Coords> en_passant;
    uint32_t halfmove_clock = 0;
    uint32_t fullmove_number = 0;

private:
    [[noreturn]] static void throw_nonempty_square();
    [[noreturn]] static void throw_remove_empty_square();
    [[noreturn]] static void throw_get_empty_square();
};

// The position that `position` sets and `go`, `perft`, `board` and `pieces` use.
extern Board current_position;
