// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "chess/board.h"
#include "core/custom_exception.h"
#include "search/search_control.h"

namespace {
std::string message_of(void (*operation)()) {
    try {
        operation();
    } catch (const CustomException& error) {
        return error.what();
    }
    return "no exception";
}

TEST(SearchControl, IdleBetweenSearches) {
    EXPECT_TRUE(search_stopped.load());
    EXPECT_TRUE(search_threads.empty());
}

TEST(SearchControl, PrepareResetsLimitsCountAndPosition) {
    max_depth = 3;
    move_time = 250;
    node_count = 99;
    search_board = Board::start_position();
    prepare_search();
    EXPECT_EQ(max_depth, NO_LIMIT);
    EXPECT_EQ(move_time, NO_LIMIT);
    EXPECT_EQ(node_count, 0u);
    EXPECT_EQ(search_board.to_fen(), "8/8/8/8/8/8/8/8 w - - 0 1");
    EXPECT_EQ(get_best_move().kind, MoveKind::none);
    EXPECT_TRUE(search_stopped.load());
}

TEST(SearchControl, RunningSearchRefusesAnotherAndKeepsItsSettings) {
    prepare_search();
    max_depth = 7;
    move_time = 1234;
    search_board = Board::start_position();
    search_stopped = false;  // as if a search were under way
    EXPECT_EQ(message_of(prepare_search), "Can't run another search.");
    EXPECT_EQ(message_of(start_search), "I can't search 2 best moves at time.");
    EXPECT_EQ(max_depth, 7u);
    EXPECT_EQ(move_time, 1234u);
    EXPECT_EQ(search_board.to_fen(), Board::start_position().to_fen());
    EXPECT_TRUE(search_threads.empty());
    search_stopped = true;
    prepare_search();
}
}  // namespace
