// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <stdexcept>
#include <vector>

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>
#include <boost/lexical_cast.hpp>

#include "chess/board.h"
#include "core/custom_exception.h"

namespace {
const std::string& field(const std::vector<std::string>& fields, std::size_t index) {
    if (index >= fields.size()) throw std::out_of_range("invalid vector<T> subscript");
    return fields[index];
}

// Reads the placement field; only a piece that would fall off the board fails.
void read_placement(Board& board, const std::string& placement) {
    int64_t rank = 8;
    int64_t file = 1;
    for (const char letter : placement) {
        if (letter == '/') {
            rank -= 1;
            file = 1;
        } else if (letter >= '1' && letter <= '9') {
            file += letter - '0';
        } else {
            // Clamped so that a very long field cannot overflow; any value
            // outside 1..8 is refused by the constructor all the same.
            const Coords square(static_cast<int32_t>(std::clamp<int64_t>(file, 0, 9)),
                                static_cast<int32_t>(std::clamp<int64_t>(rank, 0, 9)));
            board.add_piece(Piece::from_fen(std::string(1, letter)), square);
            file += 1;
        }
    }
}
}  // namespace

Board::Board(std::string fen) {
    std::vector<std::string> fields;
    boost::split(fields, fen, boost::is_space(), boost::token_compress_on);
    const std::string& placement = field(fields, 0);
    const std::string& color = field(fields, 1);
    const std::string& castling = field(fields, 2);
    const std::string& passant = field(fields, 3);
    const std::string& halfmove = field(fields, 4);
    const std::string& fullmove = field(fields, 5);

    side_to_move = Color::from_fen(color);
    rooking = RookingPosibility::from_fen(castling);
    if (passant != "-") en_passant = Coords(passant);
    halfmove_clock = boost::lexical_cast<uint32_t>(halfmove);
    fullmove_number = boost::lexical_cast<uint32_t>(fullmove);
    read_placement(*this, placement);
}

Board Board::start_position() { return Board("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"); }

Board Board::empty_board() { return Board("8/8/8/8/8/8/8/8 w - - 0 1"); }

std::string Board::to_fen() const {
    std::string fen;
    for (int32_t rank = 8; rank >= 1; --rank) {
        int empty = 0;
        for (int32_t file = 1; file <= 8; ++file) {
            const Piece* piece = piece_at(Coords(file, rank));
            if (piece == nullptr) {
                ++empty;
                continue;
            }
            if (empty != 0) fen += static_cast<char>('0' + empty);
            empty = 0;
            fen += piece->to_fen();
        }
        if (empty != 0) fen += static_cast<char>('0' + empty);
        if (rank != 1) fen += '/';
    }
    fen += ' ';
    fen += side_to_move.to_fen();
    fen += ' ';
    fen += rooking.to_fen();
    fen += ' ';
    fen += en_passant ? en_passant->to_string() : "-";
    fen += ' ';
    fen += boost::lexical_cast<std::string>(halfmove_clock);
    fen += ' ';
    fen += boost::lexical_cast<std::string>(fullmove_number);
    return fen;
}
