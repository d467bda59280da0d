// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "chess/board.h"
#include "chess/piece_map.h"

namespace {
std::vector<Coords> all_squares() {
    std::vector<Coords> squares;
    for (int32_t y = 1; y <= 8; ++y) {
        for (int32_t x = 1; x <= 8; ++x) squares.emplace_back(x, y);
    }
    return squares;
}

// find_piece and find_entry must answer exactly what PieceMap::find answers, for every
// square, whatever shape insertions and erasures in any order gave the tree.
void expect_lookups_agree(PieceMap& pieces) {
    for (const Coords& square : all_squares()) {
        const auto found = pieces.find(square);
        const Piece* expected = found == pieces.end() ? nullptr : &found->second;
        ASSERT_EQ(find_piece(pieces, square), expected) << square.to_string() << " in a map of " << pieces.size();
        ASSERT_TRUE(find_entry(pieces, square) == pieces.find(square)) << square.to_string();
    }
}

// first_entry must visit the entries exactly as the map's iterators do, and
// sum_entries must add the term of every entry once.
void expect_walk_agrees(const PieceMap& pieces) {
    std::vector<Coords> walked;
    const auto* none = first_entry(pieces, [&walked](const PieceMap::value_type& entry) {
        walked.push_back(entry.first);
        return false;
    });
    EXPECT_EQ(none, nullptr);
    std::vector<Coords> iterated;
    for (const auto& entry : pieces) iterated.push_back(entry.first);
    ASSERT_EQ(walked, iterated);
    std::vector<const PieceMap::value_type*> visited;
    const int32_t sum = sum_entries(pieces, [&visited](const PieceMap::value_type& entry) {
        visited.push_back(&entry);
        return entry.first.y * 8 + entry.first.x;
    });
    std::vector<const PieceMap::value_type*> entries;
    int32_t expected_sum = 0;
    for (const auto& entry : pieces) {
        entries.push_back(&entry);
        expected_sum += entry.first.y * 8 + entry.first.x;
    }
    std::sort(visited.begin(), visited.end());
    std::sort(entries.begin(), entries.end());
    ASSERT_EQ(visited, entries);
    ASSERT_EQ(sum, expected_sum);
    for (const auto& entry : pieces) {
        const auto* found =
            first_entry(pieces, [&entry](const PieceMap::value_type& e) { return e.first == entry.first; });
        ASSERT_EQ(found, &entry);
    }
}

TEST(FindPiece, AgreesWithFindOnEveryTreeShape) {
    std::mt19937 random(20261208);
    std::vector<Coords> squares = all_squares();
    PieceMap pieces;
    expect_lookups_agree(pieces);
    for (int round = 0; round < 300; ++round) {
        std::shuffle(squares.begin(), squares.end(), random);
        const std::size_t count = random() % 65;
        pieces.clear();
        for (std::size_t i = 0; i < count; ++i) {
            pieces.emplace(squares[i], Piece(Color(1 + static_cast<int32_t>(i % 2)), PieceKind(1 + i % 6)));
        }
        expect_lookups_agree(pieces);
        expect_walk_agrees(pieces);
        // Erase some and put some back, as making and unmaking moves does.
        for (std::size_t i = 0; i < count / 3; ++i) pieces.erase(squares[random() % count]);
        expect_lookups_agree(pieces);
        for (std::size_t i = 0; i < count / 3; ++i)
            pieces.emplace(squares[random() % 64], Piece(Color::white, PieceKind::queen));
        expect_lookups_agree(pieces);
        expect_walk_agrees(pieces);
    }
}

TEST(FirstEntry, FindsTheFirstKingInKeyOrder) {
    // Two white kings (possible from a FEN): the one on the lower rank comes
    // first, and within a rank the one on the lower file.
    Board board("4k3/8/8/8/8/2K5/8/6K1 w - - 0 1");
    const auto* white_king = first_entry(board.pieces, [](const PieceMap::value_type& entry) {
        return entry.second.color == Color::white && entry.second.kind == PieceKind::king;
    });
    ASSERT_NE(white_king, nullptr);
    EXPECT_EQ(white_king->first, Coords("g1"));
    const auto* queen = first_entry(
        board.pieces, [](const PieceMap::value_type& entry) { return entry.second.kind == PieceKind::queen; });
    EXPECT_EQ(queen, nullptr);
}

TEST(FindPiece, BoardSquareOperationsUseIt) {
    Board board = Board::start_position();
    EXPECT_EQ(board.get_piece(Coords("e1")), Piece(Color::white, PieceKind::king));
    EXPECT_EQ(board.get_piece(Coords("d8")), Piece(Color::black, PieceKind::queen));
    EXPECT_TRUE(board.has_piece(Coords("a1")));
    EXPECT_TRUE(board.has_piece(Coords("h8")));
    EXPECT_FALSE(board.has_piece(Coords("e4")));
    EXPECT_EQ(board.piece_at(Coords("e4")), nullptr);
    board.remove_piece(Coords("e2"));
    board.add_piece(Piece(Color::white, PieceKind::pawn), Coords("e4"));
    EXPECT_FALSE(board.has_piece(Coords("e2")));
    ASSERT_NE(board.piece_at(Coords("e4")), nullptr);
    EXPECT_EQ(board.piece_at(Coords("e4"))->kind, PieceKind::pawn);
}
}  // namespace
