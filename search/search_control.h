// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "chess/board.h"
#include "moves/move.h"

// "No limit" for max_depth and move_time.
constexpr uint32_t NO_LIMIT = 4294967295u;
// Iterative deepening never runs past this depth.
constexpr uint32_t MAX_SEARCH_DEPTH = 256;

// The state one search shares between the command loop, the search thread and
// the timer thread. There is one search at a time.
extern std::atomic<bool> search_stopped;  // true whenever no search runs
extern uint32_t max_depth;                // deepest iteration to run
extern uint32_t move_time;                // budget in milliseconds
extern uint64_t node_count;               // nodes since prepare_search
extern uint32_t root_depth;               // depth of the iteration under way
extern Board search_board;                // the search's own copy of the position
extern std::vector<std::thread> search_threads;

// The move that bestmove reports; read and written under one lock, so that
// a bestmove line always names a whole move.
Move get_best_move();

// Makes ready for a new search; refuses while one runs.
void prepare_search();
// Starts the timer thread (with a budget) and the search thread.
void start_search();
// Stops the running search and writes its one bestmove line; does nothing
// when no search runs.
void stop_search();
// stop_search, then join every thread.
void shutdown_search();
void join_search_threads();

// The body of the search thread: iterative deepening from depth 1.
void run_search();
// The body of the timer thread: stops the search `ms` after start_search
// started it, in 100 ms slices.
void run_timer(uint32_t ms);
