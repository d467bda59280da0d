// SPDX-License-Identifier: GPL-3.0-or-later
// The console on the C++ standard streams, for Linux and Windows.
#include <iostream>

#include "core/console_device.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <cstdio>
#endif

void device_start() {
#ifdef _WIN32
    // The C runtime's text mode would end the input at a Ctrl-Z byte and drop
    // every CR before a LF; read bytes as they come, as on Linux, and let the
    // console drop the one CR that ends a line. Output stays in text mode:
    // each "\n" goes out as CR LF, as Windows GUIs read lines.
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    std::ios::sync_with_stdio(false);
    std::cin.tie(nullptr);
}

void device_write(const char* data, std::size_t size) { std::cout.write(data, static_cast<std::streamsize>(size)); }

void device_flush() { std::cout.flush(); }

bool device_read_line(std::string& line, bool& complete) {
    line.clear();
    complete = static_cast<bool>(std::getline(std::cin, line)) && !std::cin.eof();
    return complete || !line.empty();
}
