// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Tokens = std::vector<std::string>;

extern const std::string engine_name;
extern const std::string engine_version;
extern const std::string engine_author;

// The reply to an unknown command and to wrong arguments.
extern const std::string unknown_command_reply;

// The command loop: reads lines until quit or the end of input.
void run_command_loop();
// Reads and runs one line; false after quit (or at the end of input).
bool process_command();
// Cuts a line at every space, tab, LF and CR; empty tokens are kept.
Tokens split_command(const std::string& line);
// Runs one command line; false when it was quit.
bool dispatch_command(const std::string& line);

void uci_command();
void debug_command(const Tokens& tokens);
void set_debug_mode(std::string argument);
void position_command(const Tokens& tokens);
void go_command(const Tokens& tokens);
void perft_command(const Tokens& tokens);
void board_command();
void pieces_command();

// A numeric argument: an unsigned 32-bit decimal number with an optional
// leading sign; a minus sign negates modulo 2^32.
uint32_t read_number(const std::string& token);
// Token `index`, or std::out_of_range when the line is too short.
const std::string& token_at(const Tokens& tokens, std::size_t index);
