// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes from_uci, make_move and unmake_move on the positions of the perft
// suite. The first byte picks the position; the rest is a list of move texts
// separated by white space, played one after the other. A text of the form
// #N plays legal move N (modulo their count) instead, to reach deeper
// positions. Every move that reads and is made must unmake to the identical
// board; a move that is refused must leave the board untouched; at the end,
// unmaking every move in reverse order gives back the starting position.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iterator>
#include <string>
#include <vector>

#include "chess/board.h"
#include "data/test_data.h"
#include "moves/make_move.h"
#include "moves/move.h"
#include "moves/movegen.h"
#include "same_position.h"

namespace {
const std::vector<test_data::PerftPosition>& positions = test_data::perft_suite();

std::vector<std::string> split_words(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (const char c : text) {
        if (c == ' ' || c == '\n' || c == '\t' || c == '\r') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

// Legal move `index` modulo their count, or nothing when there is none.
bool pick_legal(Board& board, const std::string& digits, Move& move) {
    const Board before = board;
    const MoveList moves = legal_moves(board);
    if (!same_position(before, board)) fail("legal_moves changed the board", before, board);
    if (moves.empty()) return false;
    std::size_t index = 0;
    for (const char c : digits) {
        if (c >= '0' && c <= '9') index = (index * 10 + static_cast<std::size_t>(c - '0')) % 1000003;
    }
    move = std::next(moves.begin(), static_cast<std::ptrdiff_t>(index % moves.size()))->move;
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const Board start(positions[data[0] % positions.size()].fen);
    Board board = start;
    std::vector<MoveUndo> undos;

    for (const std::string& word : split_words(std::string(reinterpret_cast<const char*>(data) + 1, size - 1))) {
        const Board before = board;
        Move move;
        if (word[0] == '#') {
            if (!pick_legal(board, word.substr(1), move)) continue;
        } else {
            try {
                move = Move::from_uci(board, word);
            } catch (const std::exception&) {
                if (!same_position(before, board)) fail("from_uci " + word + " changed the board", before, board);
                continue;
            }
        }
        const std::string text =
            word + " (" + move.to_uci() + " kind " + std::to_string(static_cast<int>(move.kind)) + ")";

        MoveUndo undo;
        try {
            undo = make_move(board, move);
        } catch (const std::exception& error) {
            if (!same_position(before, board))
                fail("refused move " + text + " changed the board: " + error.what(), before, board);
            continue;
        }
        const Board after = board;
        try {
            unmake_move(board, undo);
        } catch (const std::exception& error) {
            fail("unmaking " + text + " failed: " + error.what(), before, board);
        }
        if (!same_position(before, board)) fail("unmaking " + text + " gives another board", before, board);

        // Made again, the move must give the same board; it stays played.
        try {
            undo = make_move(board, move);
        } catch (const std::exception& error) {
            fail("making " + text + " a second time failed: " + error.what(), after, board);
        }
        if (!same_position(after, board)) fail("making " + text + " twice gives two boards", after, board);
        undos.push_back(std::move(undo));
    }

    for (auto undo = undos.rbegin(); undo != undos.rend(); ++undo) {
        try {
            unmake_move(board, *undo);
        } catch (const std::exception& error) {
            fail(std::string("unmaking the whole line failed: ") + error.what(), start, board);
        }
    }
    if (!same_position(start, board)) fail("unmaking the whole line gives another board", start, board);
    return 0;
}
