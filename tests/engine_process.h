// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

// The engine the end-to-end tests drive: the command line in BRIX_ENGINE,
// split at blanks into a program and its arguments ("wine brix.exe", "node
// bin/brix.js"), or else the binary of this build.
std::vector<std::string> engine_command();
// True when BRIX_ENGINE_CRLF is 1: the engine is a Windows build, whose every
// output line must end in CR LF.
bool engine_writes_crlf();

// The engine started as a child process with pipes on its standard input and
// output, driven the way a chess GUI drives it.
class EngineProcess {
public:
    using Duration = std::chrono::milliseconds;

    explicit EngineProcess(const std::vector<std::string>& command = engine_command());
    ~EngineProcess();
    EngineProcess(const EngineProcess&) = delete;
    EngineProcess& operator=(const EngineProcess&) = delete;

    // Writes `line` followed by "\n".
    void send(const std::string& line);
    // Writes raw bytes, line ends included.
    void send_raw(const std::string& bytes);
    // Closes the engine's standard input (end of input).
    void close_input();

    // The next line of output without its line end, or nothing after
    // `timeout` or at the end of output. A line end other than the engine's
    // platform's ("\n", or CR LF for a Windows build) fails the test.
    std::optional<std::string> read_line(Duration timeout = Duration(5000));
    // Reads lines until one satisfies `done`; returns them all, the matching
    // one last. Empty optional when `timeout` runs out first.
    template <typename Predicate>
    std::optional<std::vector<std::string>> read_until(Predicate done, Duration timeout = Duration(5000));
    // Reads lines up to and including the first that starts with `prefix`.
    std::optional<std::vector<std::string>> read_until_prefix(const std::string& prefix,
                                                              Duration timeout = Duration(5000));
    // Sends isready and returns every line before readyok.
    std::optional<std::vector<std::string>> sync(Duration timeout = Duration(5000));
    // True when no output line arrives within `quiet`.
    bool silent_for(Duration quiet);

    // Waits for the process to end; its exit status, or nothing on timeout.
    std::optional<int> wait_exit(Duration timeout = Duration(5000));
    pid_t pid() const { return child; }

private:
    bool fill(std::chrono::steady_clock::time_point deadline);

    pid_t child = -1;
    int to_engine = -1;
    int from_engine = -1;
    std::string pending;
    bool output_closed = false;
    bool crlf = engine_writes_crlf();
    std::optional<int> exit_status;
};

template <typename Predicate>
std::optional<std::vector<std::string>> EngineProcess::read_until(Predicate done, Duration timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<std::string> lines;
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return std::nullopt;
        auto line = read_line(std::chrono::duration_cast<Duration>(deadline - now));
        if (!line) return std::nullopt;
        lines.push_back(*line);
        if (done(*line)) return lines;
    }
}
