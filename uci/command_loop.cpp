// SPDX-License-Identifier: GPL-3.0-or-later
#include <exception>
#include <new>
#include <stdexcept>

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>
#include <boost/lexical_cast.hpp>

#include "core/console.h"
#include "core/custom_exception.h"
#include "search/search_control.h"
#include "uci/commands.h"

const std::string engine_name = "Brix";
const std::string engine_version = BRIX_VERSION;
const std::string engine_author = "Quorlan";
// The engine's answer as interfaces and scripts have always seen it, wording
// included: kept on purpose, not a typo to fix.
const std::string unknown_command_reply = "Unknown command. Please try some else.\n";

Tokens split_command(const std::string& line) {
    Tokens tokens;
    boost::split(tokens, line, boost::is_any_of(" \t\n\r"));
    return tokens;
}

uint32_t read_number(const std::string& token) { return boost::lexical_cast<uint32_t>(token); }

const std::string& token_at(const Tokens& tokens, std::size_t index) {
    if (index >= tokens.size()) throw std::out_of_range("invalid vector<T> subscript");
    return tokens[index];
}

void uci_command() {
    console_write("id name " + engine_name + " " + engine_version + "\n");
    console_write("id author " + engine_author + "\n");
}

bool dispatch_command(const std::string& line) {
    const Tokens tokens = split_command(line);
    if (tokens.size() == 1 && tokens[0].empty()) return true;
    const std::string& first = tokens[0];

    if (line == "uci") {
        uci_command();
        console_write("uciok\n");
    } else if (line == "isready") {
        console_write("readyok\n");
    } else if (line == "ucinewgame") {
    } else if (line == "stop") {
        stop_search();
    } else if (line == "ponderhit") {
    } else if (line == "quit") {
        shutdown_search();
        return false;
    } else if (first == "go") {
        go_command(tokens);
    } else if (first == "debug") {
        debug_command(tokens);
    } else if (first == "position") {
        position_command(tokens);
    } else if (first == "setoption" || first == "register") {
    } else if (first == "perft") {
        perft_command(tokens);
    } else if (line == "board") {
        board_command();
    } else if (line == "pieces") {
        pieces_command();
    } else {
        console_write(unknown_command_reply);
    }
    return true;
}

bool process_command() {
    std::string line;
    if (!console_read_line(line)) {
        // The end of input acts as quit.
        shutdown_search();
        return false;
    }
    return dispatch_command(line);
}

void run_command_loop() {
    console_start();
    for (;;) {
        try {
            if (!process_command()) return;
        } catch (const std::exception& error) {
            console_write(std::string("There are some error while processing command: ") + error.what() + "\n");
        } catch (...) {
            console_write("There are some error while processing command: unknown error\n");
        }
    }
}
