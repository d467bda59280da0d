// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the FEN reader: any bytes either read as a board or fail with one of
// the reader's own errors; a board that reads in writes back with to_fen and
// reads again to the same position and the same text.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include <boost/lexical_cast.hpp>

#include "chess/board.h"
#include "core/custom_exception.h"
#include "same_position.h"

namespace {
[[noreturn]] void reject(const char* kind, const std::string& message) {
    std::fprintf(stderr, "unexpected %s from the FEN reader: %s\n", kind, message.c_str());
    std::abort();
}

bool is_fen_message(const std::string& message) {
    static const std::string piece_prefix = "Bad fen in Piece::from_fen(). (";
    if (message == "Bad fen color in from_fen()" || message == "Bad fen in RookingPosibility::from_fen()" ||
        message == "Invalid Coords in constructor") {
        return true;
    }
    // The placement rejects one character at a time.
    return message.size() == piece_prefix.size() + 2 && message.compare(0, piece_prefix.size(), piece_prefix) == 0 &&
           message.back() == ')';
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Board board;
    try {
        board = Board(text);
    } catch (const CustomException& error) {
        if (!is_fen_message(error.message)) reject("CustomException", error.message);
        return 0;
    } catch (const boost::bad_lexical_cast&) {
        return 0;  // a move counter that is no number
    } catch (const std::out_of_range& error) {
        const std::string message = error.what();
        if (message != "invalid vector<T> subscript" && message != "invalid string position") {
            reject("std::out_of_range", message);
        }
        return 0;
    } catch (const std::exception& error) {
        reject("exception", error.what());
    }

    std::string fen;
    try {
        fen = board.to_fen();
    } catch (const std::exception& error) {
        reject("error from to_fen of a board that read in", error.what());
    }
    Board again;
    try {
        again = Board(fen);
    } catch (const std::exception& error) {
        reject(("error reading back \"" + fen + "\"").c_str(), error.what());
    }
    if (!same_position(board, again)) fail("\"" + fen + "\" reads back to another position", board, again);
    if (again.to_fen() != fen) fail("\"" + fen + "\" writes back as \"" + again.to_fen() + "\"", board, again);
    return 0;
}
