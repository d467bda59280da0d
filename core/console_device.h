// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

// The process's standard input and output as the platform the engine is
// built for has them; the build picks the one file that implements this.
// Only the console (console.cpp) calls these, under its own lock for writes.

// Before the first read or write.
void device_start();
// Writes the bytes of whole lines, each ended by "\n", as one piece.
void device_write(const char* data, std::size_t size);
void device_flush();
// Reads one line into `line`, without its "\n"; `complete` tells whether a
// "\n" ended it. False at the end of input with nothing read.
bool device_read_line(std::string& line, bool& complete);
