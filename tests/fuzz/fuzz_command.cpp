// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the command line processing without the search: every line of the
// input goes through the engine's dispatch as the command loop would send it.
// A line either writes whole lines (a reply) or fails with an error that the
// loop reports; it never crashes, and current_position stays a valid board.
// Lines whose first token is go are skipped (no search threads here), and so
// is perft deeper than 2, so that one input cannot run for long.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <sstream>
#include <string>

#include "chess/board.h"
#include "same_position.h"
#include "uci/commands.h"

namespace {
// Everything the engine writes to standard output lands here.
std::ostringstream output;

[[noreturn]] void reject(const std::string& line, const std::string& what) {
    std::fprintf(stderr, "line \"%s\": %s\n", line.c_str(), what.c_str());
    std::abort();
}

bool skipped(const Tokens& tokens) {
    if (tokens[0] == "go") return true;
    if (tokens[0] == "perft" && tokens.size() == 2) {
        try {
            return read_number(tokens[1]) > 2;
        } catch (const std::exception&) {
            return false;  // the command itself reports the bad number
        }
    }
    return false;
}

// current_position must be the empty default board until a position was set,
// and afterwards a board that writes as FEN and reads back to itself.
void check_position(const std::string& line) {
    if (current_position.side_to_move == Color()) {
        if (!current_position.pieces.empty()) reject(line, "pieces on a board with no side to move");
        return;
    }
    std::string fen;
    try {
        fen = current_position.to_fen();
    } catch (const std::exception& error) {
        reject(line, std::string("current_position does not write as FEN: ") + error.what());
    }
    Board again;
    try {
        again = Board(fen);
    } catch (const std::exception& error) {
        reject(line, "current_position writes \"" + fen + "\", which does not read: " + error.what());
    }
    if (!same_position(current_position, again))
        fail("\"" + fen + "\" reads back to another position", current_position, again);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::cout.rdbuf(output.rdbuf());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    current_position = Board();
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (start < input.size()) {
        std::size_t end = input.find('\n', start);
        if (end == std::string::npos) end = input.size();
        std::string line = input.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();

        const Tokens tokens = split_command(line);
        if (skipped(tokens)) continue;

        const Board before = current_position;
        output.str("");
        bool failed = false;
        bool more = true;
        try {
            more = dispatch_command(line);
        } catch (const std::exception& error) {
            failed = true;
            if (*error.what() == '\0') reject(line, "an error without a message");
        } catch (...) {
            reject(line, "an exception that is no std::exception");
        }
        std::cout.flush();
        const std::string written = output.str();
        if (!written.empty() && written.back() != '\n') reject(line, "output ends in a partial line: " + written);

        check_position(line);
        // Only position changes the position; the rest read it or restore it.
        if (tokens[0] != "position" && !failed && !same_position(before, current_position)) {
            fail("line \"" + line + "\" changed current_position", before, current_position);
        }
        if (!more) break;  // quit
    }
    return 0;
}
