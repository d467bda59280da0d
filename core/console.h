// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Standard output shared by the command loop, the search thread and the timer
// thread. Every line is composed in full by the caller and written in one piece
// under one process-wide lock, so lines from different threads never mix.

// Writes `line` (which ends in "\n"); flushes when `flush` is true.
void console_write(const std::string& line, bool flush = false);

// Flushes standard output.
void console_flush();

// Makes standard input and output ready; before the first read or write.
void console_start();
// Flushes standard output, then reads one line of standard input without its
// line end: a CR right before the LF goes with it, and nothing else is
// removed. False at the end of input.
bool console_read_line(std::string& line);

// Writes "info string " followed by `text`.
void send_info_string(std::string text);
