// The engine's benchmark: perft and search throughput on fixed positions at
// fixed depths. Each case runs several times and reports its fastest run, in
// wall-clock time and in CPU time of the running thread (the two agree on an
// idle machine; the CPU time stays steady when other work shares the cores,
// and the rate is computed from it). The node counts are checked against
// the figures below, which no change to the engine's speed may alter.
//
//   brix_bench [--quick] [--repeat N] [--only TEXT] [--list]
//
// --quick runs the small cases only (a few seconds in all), --repeat sets the
// number of runs per case (default 3), --only keeps the cases whose name and
// depth ("search startpos 7") contain TEXT, --list prints the names and
// depths of the cases chosen, one per line, instead of running them.

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "chess/board.h"
#include "moves/perft.h"
#include "search/search.h"
#include "search/search_control.h"

namespace {
const char* const start_fen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
const char* const kiwipete_fen = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
const char* const endgame_fen = "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1";
const char* const promotions_fen = "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1";
const char* const discovered_fen = "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8";
const char* const middlegame_fen = "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10";

enum class Kind { perft, search };

struct Case {
    Kind kind;
    const char* name;
    const char* fen;
    uint32_t depth;
    // Perft: the published leaf count. Search: the nodes that `go depth`
    // reports on its last info line (counted from depth 1 on), as the engine
    // reported them before any speed work began; for the start position at
    // depths 7 and 8 they are also the figures of the reference measurements.
    uint64_t expected;
    bool quick;  // part of the --quick run
};

const Case cases[] = {
    {Kind::perft, "perft startpos", start_fen, 5, 4865609, false},
    {Kind::perft, "perft startpos", start_fen, 4, 197281, true},
    {Kind::perft, "perft kiwipete", kiwipete_fen, 4, 4085603, false},
    {Kind::perft, "perft kiwipete", kiwipete_fen, 3, 97862, true},
    {Kind::perft, "perft endgame", endgame_fen, 5, 674624, false},
    {Kind::perft, "perft promotions", promotions_fen, 4, 422333, true},
    {Kind::perft, "perft discovered-checks", discovered_fen, 4, 2103487, false},
    {Kind::perft, "perft middlegame", middlegame_fen, 4, 3894594, false},
    {Kind::search, "search startpos", start_fen, 6, 109207, true},
    {Kind::search, "search startpos", start_fen, 7, 847770, false},
    {Kind::search, "search startpos", start_fen, 8, 3495759, false},
    {Kind::search, "search kiwipete", kiwipete_fen, 5, 278353, false},
    {Kind::search, "search kiwipete", kiwipete_fen, 4, 39332, true},
    {Kind::search, "search promotions", promotions_fen, 5, 171169, false},
    {Kind::search, "search endgame", endgame_fen, 7, 186463, false},
    {Kind::search, "search middlegame", middlegame_fen, 5, 205196, false},
};

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double thread_cpu_seconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Perft from the position: the leaf count.
uint64_t run_perft(const Case& c) {
    Board board(c.fen);
    return perft(board, c.depth);
}

// Iterative deepening from depth 1 to the case's depth, as `go depth` runs it:
// the node count after the last iteration.
uint64_t run_search(const Case& c) {
    search_board = Board(c.fen);
    node_count = 0;
    search_stopped.store(false);
    for (uint32_t depth = 1; depth <= c.depth; ++depth) search_root(depth);
    search_stopped.store(true);
    return node_count;
}

struct Options {
    bool quick = false;
    int repeat = 3;
    std::string only;
    bool list = false;
};

Options read_options(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            options.quick = true;
        } else if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc) {
            options.repeat = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc) {
            options.only = argv[++i];
        } else if (std::strcmp(argv[i], "--list") == 0) {
            options.list = true;
        } else {
            std::fprintf(stderr, "usage: %s [--quick] [--repeat N] [--only TEXT] [--list]\n", argv[0]);
            std::exit(2);
        }
    }
    return options;
}

// A case's name and depth, as --only matches them and --list prints them.
std::string label_of(const Case& c) { return std::string(c.name) + " " + std::to_string(c.depth); }

bool chosen(const Case& c, const Options& options) {
    if (options.quick && !c.quick) return false;
    return options.only.empty() || label_of(c).find(options.only) != std::string::npos;
}
}  // namespace

int main(int argc, char** argv) {
    const Options options = read_options(argc, argv);
    if (options.list) {
        for (const Case& c : cases) {
            if (chosen(c, options)) std::printf("%s\n", label_of(c).c_str());
        }
        return 0;
    }
    bool all_match = true;
    std::printf("%-24s %5s %10s %6s %8s %8s %10s\n", "case", "depth", "nodes", "check", "wall s", "cpu s",
                "M nodes/s");
    for (const Case& c : cases) {
        if (!chosen(c, options)) continue;
        double best_wall = 1e300;
        double best_cpu = 1e300;
        uint64_t nodes = 0;
        for (int run = 0; run < options.repeat; ++run) {
            const auto start = std::chrono::steady_clock::now();
            const double cpu_start = thread_cpu_seconds();
            nodes = c.kind == Kind::perft ? run_perft(c) : run_search(c);
            best_cpu = std::min(best_cpu, thread_cpu_seconds() - cpu_start);
            best_wall = std::min(best_wall, seconds_since(start));
        }
        const char* check = c.expected == 0 ? "-" : nodes == c.expected ? "ok" : "WRONG";
        if (c.expected != 0 && nodes != c.expected) all_match = false;
        std::printf("%-24s %5u %10llu %6s %8.3f %8.3f %10.2f\n", c.name, c.depth, static_cast<unsigned long long>(nodes),
                    check, best_wall, best_cpu, static_cast<double>(nodes) / best_cpu / 1e6);
        std::fflush(stdout);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory: %ld kB\n", usage.ru_maxrss);
    if (!all_match) std::printf("NODE COUNTS DIFFER from the recorded figures\n");
    return all_match ? 0 : 1;
}
