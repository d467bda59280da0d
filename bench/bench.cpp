// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's benchmark: perft and search throughput on fixed positions at
// fixed depths. Each case runs several times and reports its fastest run, in
// wall-clock time and in CPU time of the running thread (the two agree on an
// idle machine; the CPU time stays steady when other work shares the cores,
// and the rate is computed from it). The positions come from the test data
// (tests/data), and the node counts are checked against its figures, which
// no change to the engine's speed may alter: the published perft counts, and
// the nodes that `go depth` reports on its last info line.
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
#include "data/test_data.h"
#include "moves/perft.h"
#include "search/search.h"
#include "search/search_control.h"

namespace {
enum class Kind { perft, search };

struct Case {
    Kind kind;
    const char* position;  // its name in the test data
    uint32_t depth;
    bool quick;  // part of the --quick run
};

const Case cases[] = {
    {Kind::perft, "startpos", 5, false},          {Kind::perft, "startpos", 4, true},
    {Kind::perft, "kiwipete", 4, false},          {Kind::perft, "kiwipete", 3, true},
    {Kind::perft, "endgame", 5, false},           {Kind::perft, "promotions", 4, true},
    {Kind::perft, "discovered-checks", 4, false}, {Kind::perft, "middlegame", 4, false},
    {Kind::search, "startpos", 6, true},          {Kind::search, "startpos", 7, false},
    {Kind::search, "startpos", 8, false},         {Kind::search, "kiwipete", 5, false},
    {Kind::search, "kiwipete", 4, true},          {Kind::search, "promotions", 5, false},
    {Kind::search, "endgame", 7, false},          {Kind::search, "middlegame", 5, false},
};

// The count a case must reach: the published perft count, or the nodes of
// the search figures at the case's depth.
uint64_t expected_nodes(const Case& c) {
    if (c.kind == Kind::perft) return test_data::suite_position(c.position).counts.at(c.depth - 1);
    const test_data::SearchFigures figures = test_data::search_figures(c.position, c.depth);
    if (figures.iterations.size() != c.depth) {
        std::fprintf(stderr, "no search figures for %s at depth %u\n", c.position, c.depth);
        std::exit(2);
    }
    return figures.iterations.back().nodes;
}

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
    Board board(test_data::fen(c.position));
    return perft(board, c.depth);
}

// Iterative deepening from depth 1 to the case's depth, as `go depth` runs it:
// the node count after the last iteration.
uint64_t run_search(const Case& c) {
    search_board = Board(test_data::fen(c.position));
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
std::string name_of(const Case& c) { return std::string(c.kind == Kind::perft ? "perft " : "search ") + c.position; }
std::string label_of(const Case& c) { return name_of(c) + " " + std::to_string(c.depth); }

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
    std::printf("%-24s %5s %10s %6s %8s %8s %10s\n", "case", "depth", "nodes", "check", "wall s", "cpu s", "M nodes/s");
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
        const bool ok = nodes == expected_nodes(c);
        if (!ok) all_match = false;
        std::printf("%-24s %5u %10llu %6s %8.3f %8.3f %10.2f\n", name_of(c).c_str(), c.depth,
                    static_cast<unsigned long long>(nodes), ok ? "ok" : "WRONG", best_wall, best_cpu,
                    static_cast<double>(nodes) / best_cpu / 1e6);
        std::fflush(stdout);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory: %ld kB\n", usage.ru_maxrss);
    if (!all_match) std::printf("NODE COUNTS DIFFER from the recorded figures\n");
    return all_match ? 0 : 1;
}
