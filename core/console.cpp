// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/console.h"

#include <mutex>

#include "core/console_device.h"

namespace {
std::mutex& console_mutex() {
    static std::mutex mutex;
    return mutex;
}
}  // namespace

void console_start() { device_start(); }

void console_write(const std::string& line, bool flush) {
    std::lock_guard<std::mutex> lock(console_mutex());
    device_write(line.data(), line.size());
    if (flush) device_flush();
}

void console_flush() {
    std::lock_guard<std::mutex> lock(console_mutex());
    device_flush();
}

bool console_read_line(std::string& line) {
    console_flush();
    bool complete = false;
    if (!device_read_line(line, complete)) return false;
    if (complete && !line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

void send_info_string(std::string text) { console_write("info string " + text + "\n"); }
