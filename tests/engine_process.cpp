// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine_process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <stdexcept>

std::vector<std::string> engine_command() {
    const char* text = std::getenv("BRIX_ENGINE");
    if (text == nullptr || *text == '\0') return {BRIX_ENGINE_PATH};
    std::vector<std::string> words;
    std::istringstream stream(text);
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

bool engine_writes_crlf() {
    const char* text = std::getenv("BRIX_ENGINE_CRLF");
    return text != nullptr && std::string(text) == "1";
}

EngineProcess::EngineProcess(const std::vector<std::string>& command) {
    if (command.empty()) throw std::runtime_error("no engine command");
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    int input[2];
    int output[2];
    if (pipe(input) != 0 || pipe(output) != 0) throw std::runtime_error("pipe failed");
    child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        dup2(input[0], STDIN_FILENO);
        dup2(output[1], STDOUT_FILENO);
        close(input[0]);
        close(input[1]);
        close(output[0]);
        close(output[1]);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(input[0]);
    close(output[1]);
    to_engine = input[1];
    from_engine = output[0];
    signal(SIGPIPE, SIG_IGN);
}

EngineProcess::~EngineProcess() {
    if (to_engine >= 0) close(to_engine);
    if (!exit_status && child > 0) {
        if (!wait_exit(Duration(2000))) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
    }
    if (from_engine >= 0) close(from_engine);
}

void EngineProcess::send(const std::string& line) { send_raw(line + "\n"); }

void EngineProcess::send_raw(const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(to_engine, bytes.data() + written, bytes.size() - written);
        if (n <= 0) throw std::runtime_error("write to engine failed");
        written += static_cast<std::size_t>(n);
    }
}

void EngineProcess::close_input() {
    if (to_engine >= 0) close(to_engine);
    to_engine = -1;
}

bool EngineProcess::fill(std::chrono::steady_clock::time_point deadline) {
    if (output_closed) return false;
    const auto now = std::chrono::steady_clock::now();
    const auto left = deadline > now ? std::chrono::duration_cast<Duration>(deadline - now).count() : 0;
    pollfd fd{from_engine, POLLIN, 0};
    if (poll(&fd, 1, static_cast<int>(left)) <= 0) return false;
    char buffer[65536];
    const ssize_t n = read(from_engine, buffer, sizeof buffer);
    if (n <= 0) {
        output_closed = true;
        return false;
    }
    pending.append(buffer, static_cast<std::size_t>(n));
    return true;
}

std::optional<std::string> EngineProcess::read_line(Duration timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto end = pending.find('\n');
        if (end != std::string::npos) {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            const bool has_cr = !line.empty() && line.back() == '\r';
            if (crlf && has_cr) line.pop_back();
            EXPECT_EQ(has_cr, crlf) << "line end of: " << line;
            return line;
        }
        if (!fill(deadline)) return std::nullopt;
    }
}

std::optional<std::vector<std::string>> EngineProcess::read_until_prefix(const std::string& prefix, Duration timeout) {
    return read_until([&prefix](const std::string& line) { return line.rfind(prefix, 0) == 0; }, timeout);
}

std::optional<std::vector<std::string>> EngineProcess::sync(Duration timeout) {
    send("isready");
    auto lines = read_until([](const std::string& line) { return line == "readyok"; }, timeout);
    if (lines) lines->pop_back();
    return lines;
}

bool EngineProcess::silent_for(Duration quiet) {
    const auto deadline = std::chrono::steady_clock::now() + quiet;
    while (pending.find('\n') == std::string::npos) {
        if (!fill(deadline)) return pending.find('\n') == std::string::npos;
    }
    return false;
}

std::optional<int> EngineProcess::wait_exit(Duration timeout) {
    if (exit_status) return exit_status;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) {
            exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return exit_status;
        }
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        // Drain output meanwhile so the engine never blocks on a full pipe.
        if (!fill(std::chrono::steady_clock::now() + Duration(10))) usleep(1000);
    }
}
