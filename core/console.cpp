// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/console.h"

#include <iostream>
#include <mutex>

namespace {
std::mutex& console_mutex() {
    static std::mutex mutex;
    return mutex;
}
}  // namespace

void console_write(const std::string& line, bool flush) {
    std::lock_guard<std::mutex> lock(console_mutex());
    std::cout.write(line.data(), static_cast<std::streamsize>(line.size()));
    if (flush) std::cout.flush();
}

void console_flush() {
    std::lock_guard<std::mutex> lock(console_mutex());
    std::cout.flush();
}

void send_info_string(std::string text) { console_write("info string " + text + "\n"); }
