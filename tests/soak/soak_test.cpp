// SPDX-License-Identifier: GPL-3.0-or-later
// The soak run: one engine process is given, in a loop, thousands of position,
// go, stop and isready sequences mixed with garbage lines, malformed commands
// and diagnostic commands, at random moments relative to its running searches.
// Throughout it checks that:
// - every accepted go is answered by exactly one bestmove line, and a go that
//   is refused is answered by an error line instead;
// - readyok arrives within a second of every isready, whatever is running;
// - every line the engine writes is one whole line of a known form, never
//   pieces of two lines run together;
// - every garbage line and every malformed command gets exactly one reply;
// - the engine's resident memory (from /proc) does not keep growing.
//
// BRIX_SOAK_SECONDS sets the duration (default 60), BRIX_SOAK_SEED the seed of
// the random choices (default 1). BRIX_SOAK_MEMORY=off skips the memory check,
// for engines built with AddressSanitizer, whose quarantine of freed memory
// grows the resident size by design.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/test_data.h"
#include "engine_process.h"
#include "line_forms.h"

namespace {
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The longest that readyok may take after isready.
constexpr milliseconds ready_limit(1000);

long env_number(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtol(text, nullptr, 10) : fallback;
}

// The resident set size of process `pid` in KiB, from /proc/<pid>/status.
long resident_kib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

// The perft suite's positions, then some of other kinds.
const std::vector<std::string> positions = [] {
    std::vector<std::string> lines = {"position startpos", "position startpos moves e2e4 e7e5 g1f3 b8c6"};
    for (const test_data::PerftPosition& position : test_data::perft_suite())
        lines.push_back("position fen " + position.fen);
    lines.insert(lines.end(), {
                                  "position startpos moves f2f3 e7e5 g2g4 d8h4",  // White is mated
                                  "position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1",  // stalemate
                                  "position fen 8/8/8/4k3/8/8/8/4K3 w - - 0 1",   // bare kings
                                  "position fen 8/8/8/8/8/8/8/Q7 w - - 0 1",      // no kings at all
                                  "position fen 4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1 moves e5d6",
                              });
    return lines;
}();

// Commands that each get exactly one reply line: the fallback reply, an
// error line or "Bad fen.". None of them starts a search.
const std::vector<std::string> malformed = {
    "go depth",
    "go depth x",
    "go movetime -",
    "go ponder",
    "go depth 5 ",
    "go nodes 100",
    "perft",
    "perft x",
    "perft 99999999999",
    "position",
    "position fen",
    "position fen 8/8 w",
    "debug",
    "debug maybe",
    "position startpos moves e2",
    "position startpos moves e9e5",
    "position startpos moves e3e4",
    "position startpos moves e7e8",
    "position fen 8/8/8/8/8/8/8/8 x - - 0 1",
    "go wtime",
};

const std::vector<std::string> searches = {
    "go depth 1",
    "go depth 2",
    "go depth 3",
    "go movetime 0",
    "go movetime 1",
    "go movetime 50",
    "go movetime 120",
    "go infinite",
    "go",
    "go depth 0",
    "go wtime 1000 btime 1000",
    "go wtime 300 btime 300 winc 10 binc 10 movestogo 5",
    "go depth 6 movetime 100",
    "go btime 5000",
};

const std::string error_prefix = "There are some error while processing command: ";
const std::string fallback = "Unknown command. Please try some else.";

struct SoakFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class SoakDriver {
public:
    SoakDriver(EngineProcess& engine, uint32_t seed) : engine(engine), random(seed) {}

    void run(Clock::duration duration);

    uint64_t sequences = 0;
    uint64_t accepted_go = 0;
    uint64_t refused_go = 0;
    uint64_t bestmoves = 0;
    uint64_t isready_sent = 0;
    uint64_t garbage_sent = 0;
    long slowest_ready_ms = 0;
    long rss_warmup_peak = -1;  // the most during the warm-up, the baseline
    long rss_at_end = -1;
    long rss_peak = -1;

private:
    [[noreturn]] void die(const std::string& what);
    void send(const std::string& line);
    std::string next_line(milliseconds timeout);
    void absorb(const std::string& line);
    // Sends isready and reads every line up to readyok, which must come in time.
    void ready();
    // Stops whatever runs and checks the accounts: one bestmove per accepted
    // go, one reply per garbage line or malformed command.
    void settle();
    void search_sequence();
    void garbage_sequence();
    void malformed_sequence();
    void diagnostic_sequence();
    void sample_memory(bool warmed_up);

    std::size_t pick(std::size_t count) { return std::uniform_int_distribution<std::size_t>(0, count - 1)(random); }
    bool chance(int percent) { return static_cast<int>(pick(100)) < percent; }
    std::string garbage();

    EngineProcess& engine;
    std::mt19937 random;
    std::deque<std::string> recent;  // the last lines sent and read, for failure reports

    uint64_t go_unconfirmed = 0;  // valid go lines sent whose refusal could still come
    uint64_t replies = 0;         // fallback replies, error lines and "Bad fen." lines
    uint64_t expected_replies = 0;
    uint64_t refusals_seen = 0;  // "Can't run another search." lines
    int perft_pending = 0;       // perft commands whose summary is not yet read
    bool position_set = false;
};

void SoakDriver::die(const std::string& what) {
    std::ostringstream text;
    text << what << "\nafter " << sequences << " sequences; the last lines sent (>) and read (<):\n";
    for (const std::string& line : recent) text << "  " << line << "\n";
    throw SoakFailure(text.str());
}

void SoakDriver::send(const std::string& line) {
    recent.push_back("> " + line);
    if (recent.size() > 40) recent.pop_front();
    engine.send(line);
}

std::string SoakDriver::next_line(milliseconds timeout) {
    auto line = engine.read_line(timeout);
    if (!line) die("no line from the engine within " + std::to_string(timeout.count()) + " ms");
    recent.push_back("< " + *line);
    if (recent.size() > 40) recent.pop_front();
    absorb(*line);
    return *line;
}

// Checks that `line` is one whole line of a known form and keeps the counts.
void SoakDriver::absorb(const std::string& line) {
    if (line == "readyok" || line == "uciok" || line.rfind("id name ", 0) == 0 || line.rfind("id author ", 0) == 0 ||
        line == "info string Debug mode was enabled." || line == "info string Debug mode was disabled." ||
        is_info_line(line) || is_fen_line(line) || is_piece_line(line) || is_perft_move_line(line)) {
        return;
    }
    if (is_bestmove_line(line)) {
        ++bestmoves;
        if (bestmoves > accepted_go + go_unconfirmed) die("a bestmove line with no go to answer");
        return;
    }
    if (line == fallback || line == "Bad fen.") {
        ++replies;
        return;
    }
    if (line.rfind(error_prefix, 0) == 0) {
        const std::string message = line.substr(error_prefix.size());
        if (!is_known_error(message)) die("an unexpected error line: " + line);
        ++replies;
        if (message == "Can't run another search.") ++refusals_seen;
        return;
    }
    if (perft_pending > 0 && (line.empty() || is_total_line(line) || is_time_line(line))) return;
    if (perft_pending > 0 && is_performance_line(line)) {
        --perft_pending;
        return;
    }
    die("a line of no known form (two lines mixed?): [" + line + "]");
}

void SoakDriver::ready() {
    send("isready");
    ++isready_sent;
    const auto sent = Clock::now();
    for (;;) {
        const auto left = ready_limit - std::chrono::duration_cast<milliseconds>(Clock::now() - sent);
        if (left.count() <= 0) die("no readyok within a second");
        if (next_line(left) == "readyok") break;
    }
    const long took = std::chrono::duration_cast<milliseconds>(Clock::now() - sent).count();
    if (took > slowest_ready_ms) slowest_ready_ms = took;
}

void SoakDriver::settle() {
    send("stop");
    ready();
    if (perft_pending != 0) die("a perft summary is missing");
    if (bestmoves != accepted_go) {
        die("bestmove lines: " + std::to_string(bestmoves) + ", accepted go commands: " + std::to_string(accepted_go));
    }
    if (replies != expected_replies) {
        die("reply lines: " + std::to_string(replies) + ", expected " + std::to_string(expected_replies));
    }
}

// A random line that is no command: it starts with a character that no
// command word starts with, so the engine must give the fallback reply.
std::string SoakDriver::garbage() {
    static const std::string starts = "#%&*0123456789AEFHIJKLMNOTVWXYZ_~ahjklnvwxyz";
    std::string line(1, starts[pick(starts.size())]);
    const std::size_t length = pick(120);
    for (std::size_t i = 0; i < length; ++i) {
        char c = static_cast<char>(pick(256));
        if (c == '\n') c = ' ';
        line += c;
    }
    // A CR right before the line end would be dropped with it; keep it simple.
    if (line.back() == '\r') line.back() = '.';
    return line;
}

void SoakDriver::search_sequence() {
    if (!position_set || chance(70)) {
        send(positions[pick(positions.size())]);
        position_set = true;
    }
    const auto is_limited = [](const std::string& go) {
        return go.find("infinite") == std::string::npos && go != "go";
    };
    const std::string go = searches[pick(searches.size())];
    bool limited = is_limited(go);
    send(go);
    ++go_unconfirmed;
    const uint64_t refusals_before = refusals_seen;
    // Whatever the loop answers to this go comes before the readyok.
    ready();
    --go_unconfirmed;
    if (refusals_seen != refusals_before) die("a go with no search running was refused");
    ++accepted_go;

    // Things a GUI may do while the search runs.
    const std::size_t extras = pick(4);
    for (std::size_t i = 0; i < extras; ++i) {
        switch (pick(6)) {
            case 0: ready(); break;
            case 1: {
                // A second go races with the end of the first search: it is
                // either refused or starts a search of its own.
                const std::string second = searches[pick(searches.size())];
                send(second);
                ++go_unconfirmed;
                const uint64_t before = refusals_seen;
                ready();
                --go_unconfirmed;
                if (refusals_seen == before) {
                    ++accepted_go;
                    limited = limited && is_limited(second);
                } else {
                    ++refused_go;
                    ++expected_replies;
                }
                break;
            }
            case 2: send(positions[pick(positions.size())]); break;
            case 3:
                send(garbage());
                ++garbage_sent;
                ++expected_replies;
                break;
            case 4:
                send("perft 1");
                ++perft_pending;
                break;
            default: send("stop"); break;
        }
    }

    // Then: wait for the search to end by itself, or stop it now.
    if (limited && chance(50)) {
        const auto deadline = Clock::now() + milliseconds(20000);
        while (bestmoves < accepted_go) {
            const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) die("a limited search did not end within 20 s");
            next_line(left);
        }
    }
    settle();
}

void SoakDriver::garbage_sequence() {
    const std::size_t count = 1 + pick(5);
    for (std::size_t i = 0; i < count; ++i) {
        send(garbage());
        ++garbage_sent;
        ++expected_replies;
    }
    settle();
}

void SoakDriver::malformed_sequence() {
    const std::string line = malformed[pick(malformed.size())];
    send(line);
    ++expected_replies;
    if (line.rfind("position startpos", 0) == 0) position_set = true;
    settle();
}

void SoakDriver::diagnostic_sequence() {
    if (!position_set) {
        send(positions[0]);
        position_set = true;
    }
    switch (pick(5)) {
        case 0: send("board"); break;
        case 1: send("pieces"); break;
        case 2:
            send(chance(50) ? "perft 1" : "perft 2");
            ++perft_pending;
            break;
        case 3: send("uci"); break;
        default: send(chance(50) ? "debug on" : "debug off"); break;
    }
    settle();
}

void SoakDriver::sample_memory(bool warmed_up) {
    const long rss = resident_kib(engine.pid());
    if (rss < 0) die("cannot read the engine's resident size");
    // The baseline is the warm-up's high-water mark, not one sample: a host
    // with a garbage collector (Node) swings by a tenth either way, and one
    // sample taken in a trough would make the swing look like growth.
    if (!warmed_up || rss_warmup_peak < 0) {
        rss_warmup_peak = std::max(rss_warmup_peak, rss);
    } else {
        rss_peak = std::max(rss_peak, rss);
    }
    rss_at_end = rss;
}

void SoakDriver::run(Clock::duration duration) {
    const auto start = Clock::now();
    const auto warmup = start + duration / 5;
    while (Clock::now() - start < duration) {
        const std::size_t kind = pick(10);
        if (kind < 5) {
            search_sequence();
        } else if (kind < 7) {
            garbage_sequence();
        } else if (kind < 9) {
            malformed_sequence();
        } else {
            diagnostic_sequence();
        }
        ++sequences;
        if (sequences % 25 == 0) sample_memory(Clock::now() >= warmup);
    }
    sample_memory(true);
}

TEST(Soak, EngineStaysSoundUnderThousandsOfSequences) {
    const long seconds = env_number("BRIX_SOAK_SECONDS", 60);
    const auto seed = static_cast<uint32_t>(env_number("BRIX_SOAK_SEED", 1));
    EngineProcess engine;
    // The engine's start (seconds under Wine without a running wineserver)
    // is not a readyok latency: the run starts once the engine answers.
    ASSERT_TRUE(engine.sync(std::chrono::seconds(30))) << "the engine did not start";
    SoakDriver driver(engine, seed);
    try {
        driver.run(std::chrono::seconds(seconds));
    } catch (const SoakFailure& failure) {
        FAIL() << "seed " << seed << ": " << failure.what();
    }
    engine.send("quit");
    EXPECT_EQ(engine.wait_exit(), 0);

    std::cout << "soak: " << driver.sequences << " sequences in " << seconds << " s, seed " << seed << "; "
              << driver.accepted_go << " searches (" << driver.bestmoves << " bestmove lines), " << driver.refused_go
              << " go refused while searching, " << driver.isready_sent << " isready (slowest readyok "
              << driver.slowest_ready_ms << " ms), " << driver.garbage_sent << " garbage lines; resident size "
              << driver.rss_warmup_peak << " KiB at most in the warm-up, " << driver.rss_peak
              << " KiB at most after it, " << driver.rss_at_end << " KiB at the end\n";

    // A floor well below the usual 40 to 80 sequences a second: the loop ran.
    EXPECT_GE(driver.sequences, static_cast<uint64_t>(10 * seconds)) << "too few sequences for a soak run";
    const char* memory = std::getenv("BRIX_SOAK_MEMORY");
    if (memory != nullptr && std::string(memory) == "off") return;
    // Allocator caches may grow a little; a leak per search or per line grows
    // with the number of sequences and goes far past this.
    const long allowed = driver.rss_warmup_peak + std::max(8192L, driver.rss_warmup_peak / 4);
    EXPECT_LE(driver.rss_peak, allowed) << "the engine's resident size keeps growing";
}
}  // namespace
