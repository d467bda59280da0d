// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_control.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>

#include "core/console.h"
#include "core/custom_exception.h"
#include "moves/movegen.h"
#include "search/clock.h"
#include "search/search.h"
#include "search/search_output.h"

std::atomic<bool> search_stopped{true};
uint32_t max_depth = NO_LIMIT;
uint32_t move_time = NO_LIMIT;
uint64_t node_count = 0;
uint32_t root_depth = 0;
Board search_board = Board::empty_board();
std::vector<std::thread> search_threads;

namespace {
// Guards best_move, and orders the search thread's info lines against the
// bestmove line: once a search is stopped, no info line of it follows.
std::mutex report_mutex;
Move best_move;

// Wakes the timer thread early when the search is stopped.
std::mutex timer_mutex;
std::condition_variable timer_wake;
// When start_search started the threads: the timer's slices count from here,
// not from when its thread first ran, which a loaded machine may delay.
// Written before the threads are created, read by the timer thread.
std::chrono::steady_clock::time_point timer_start;

void set_best_move(const Move& move) {
    std::lock_guard<std::mutex> lock(report_mutex);
    best_move = move;
}

// Stops the search after an error on one of its threads: the error as an
// info string, then the one bestmove line.
void report_thread_error(const char* text) {
    send_info_string(text);
    stop_search();
}
}  // namespace

Move get_best_move() {
    std::lock_guard<std::mutex> lock(report_mutex);
    return best_move;
}

void prepare_search() {
    if (!search_stopped.load()) throw CustomException("Can't run another search.");
    join_search_threads();
    set_best_move(Move());
    max_depth = NO_LIMIT;
    node_count = 0;
    move_time = NO_LIMIT;
    search_board = Board::empty_board();
}

void start_search() {
    if (!search_stopped.load()) throw CustomException("I can't search 2 best moves at time.");
    join_search_threads();
    // Until an iteration finishes, bestmove names the first legal move.
    const MoveList moves = legal_moves(search_board);
    set_best_move(moves.empty() ? Move() : moves.front().move);

    search_stopped.store(false);
    timer_start = std::chrono::steady_clock::now();
    try {
        if (move_time != NO_LIMIT) search_threads.emplace_back(run_timer, move_time);
        search_threads.emplace_back(run_search);
    } catch (...) {
        search_stopped.store(true);
        timer_wake.notify_all();
        join_search_threads();
        throw;
    }
}

void stop_search() {
    std::lock_guard<std::mutex> lock(report_mutex);
    if (search_stopped.exchange(true)) return;
    {
        std::lock_guard<std::mutex> timer_lock(timer_mutex);
        timer_wake.notify_all();
    }
    console_write(format_bestmove(best_move), true);
}

void shutdown_search() {
    stop_search();
    join_search_threads();
}

void join_search_threads() {
    for (std::thread& thread : search_threads) {
        if (thread.joinable()) thread.join();
    }
    search_threads.clear();
}

void run_search() {
    try {
        const bool unlimited = max_depth == NO_LIMIT;
        const uint32_t last_depth = max_depth < MAX_SEARCH_DEPTH ? max_depth : MAX_SEARCH_DEPTH;
        for (uint32_t depth = 1; depth <= last_depth; ++depth) {
            const int64_t t0 = clock_ticks();
            const SearchResult result = search_root(depth);
            const int64_t t1 = clock_ticks();

            std::lock_guard<std::mutex> lock(report_mutex);
            if (search_stopped.load()) return;
            best_move = result.pv.empty() ? Move() : result.pv.front();
            console_write(format_info(depth, result, node_count, t1 - t0), true);
        }
        // Without a depth limit the bestmove waits for stop, quit or the
        // budget, as UCI's infinite mode asks.
        if (!unlimited) stop_search();
    } catch (const std::exception& error) {
        report_thread_error(error.what());
    } catch (...) {
        report_thread_error("Unknown error in the search thread");
    }
}

void run_timer(uint32_t ms) {
    try {
        // Each slice ends 100 ms after the previous one was due, the first
        // 100 ms after the search was started, not 100 ms after the thread
        // woke: on a busy machine every wake-up comes late, and the delays
        // would add up over the slices.
        auto slice_end = timer_start;
        std::unique_lock<std::mutex> lock(timer_mutex);
        while (ms != 0) {
            if (search_stopped.load()) break;
            slice_end += std::chrono::milliseconds(100);
            timer_wake.wait_until(lock, slice_end, [] { return search_stopped.load(); });
            if (ms <= 100) break;
            ms -= 100;
        }
    } catch (const std::exception& error) {
        report_thread_error(error.what());
        return;
    }
    stop_search();
}
