// SPDX-License-Identifier: GPL-3.0-or-later
// The console of the WebAssembly build. Emscripten's own standard input does
// not serve a command loop on a worker thread (a pipe reads as the end of
// input at once, a page asks through a dialog), so JavaScript hands the bytes
// of the input to brix_input as they come, and brix_input_end at the end of
// the input; the command loop waits for them on a queue. Each written piece
// of whole lines goes to JavaScript as bytes, to the function
// Module.brixWrite, on the page's (or Node's) main thread, from whichever
// thread wrote it; the writer waits until JavaScript has taken the bytes.
#include <emscripten.h>

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>

#include "core/console_device.h"

namespace {
std::mutex input_mutex;
std::condition_variable input_ready;
std::string input;  // bytes received and not read yet
bool input_ended = false;
}  // namespace

extern "C" {

// Called by JavaScript: `size` more bytes of input at `data`.
EMSCRIPTEN_KEEPALIVE void brix_input(const char* data, std::size_t size) {
    {
        std::lock_guard<std::mutex> lock(input_mutex);
        input.append(data, size);
    }
    input_ready.notify_all();
}

// Called by JavaScript at the end of the input.
EMSCRIPTEN_KEEPALIVE void brix_input_end() {
    {
        std::lock_guard<std::mutex> lock(input_mutex);
        input_ended = true;
    }
    input_ready.notify_all();
}

}  // extern "C"

void device_start() {}

void device_write(const char* data, std::size_t size) {
    MAIN_THREAD_EM_ASM({ Module["brixWrite"](HEAPU8.slice($0, $0 + $1)); }, data, size);
}

void device_flush() {}

bool device_read_line(std::string& line, bool& complete) {
    std::unique_lock<std::mutex> lock(input_mutex);
    std::size_t end = std::string::npos;
    input_ready.wait(lock, [&] {
        end = input.find('\n');
        return end != std::string::npos || input_ended;
    });
    complete = end != std::string::npos;
    if (!complete) end = input.size();
    line.assign(input, 0, end);
    input.erase(0, complete ? end + 1 : end);
    return complete || !line.empty();
}
