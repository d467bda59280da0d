// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <list>
#include <set>
#include <thread>
#include <vector>

#include "chess/board.h"
#include "core/node_pool.h"

namespace {
using Numbers = std::list<int64_t, PoolAllocator<int64_t>>;

int64_t sum(const Numbers& numbers) {
    int64_t total = 0;
    for (const int64_t n : numbers) total += n;
    return total;
}

// Nodes made on one thread and freed on another (a board copied on the
// command thread and searched on the search thread) must stay whole, and
// threads that come and go must not corrupt what other threads hold.
TEST(NodePool, NodesCrossThreadsIntact) {
    Numbers made_here;
    for (int64_t i = 0; i < 10000; ++i) made_here.push_back(i);
    std::thread other([&made_here] {
        Numbers made_there;
        for (int64_t i = 0; i < 10000; ++i) made_there.push_back(-i);
        EXPECT_EQ(sum(made_here), 49995000);
        made_here.clear();  // freed on this thread
        made_here.splice(made_here.end(), made_there);
    });
    other.join();
    EXPECT_EQ(made_here.size(), 10000u);
    EXPECT_EQ(sum(made_here), -49995000);
    made_here.clear();
}

TEST(NodePool, ManyShortLivedThreadsAtOnce) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t] {
            for (int round = 0; round < 50; ++round) {
                Numbers numbers;
                for (int64_t i = 0; i < 500; ++i) numbers.push_back(t * 1000 + i);
                Board board = Board::start_position();
                Board copy = board;
                copy.remove_piece(Coords("e2"));
                copy.add_piece(Piece(Color::white, PieceKind::pawn), Coords("e4"));
                EXPECT_EQ(sum(numbers), t * 1000 * 500 + 124750);
                EXPECT_EQ(board.pieces.size(), 32u);
                EXPECT_TRUE(copy.has_piece(Coords("e4")));
                EXPECT_FALSE(board.has_piece(Coords("e4")));
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
}

// A block freed is handed out again before new memory is taken, also
// after the thread that freed it has ended.
TEST(NodePool, FreedBlocksAreReused) {
    std::set<const void*> first_addresses;
    {
        std::thread worker([&first_addresses] {
            Numbers numbers;
            for (int64_t i = 0; i < 100; ++i) numbers.push_back(i);
            for (const int64_t& n : numbers) first_addresses.insert(&n);
        });
        worker.join();
    }
    std::size_t reused = 0;
    std::thread next([&first_addresses, &reused] {
        Numbers numbers;
        for (int64_t i = 0; i < 100; ++i) numbers.push_back(i);
        for (const int64_t& n : numbers) reused += first_addresses.count(&n);
    });
    next.join();
#ifdef BRIX_PLAIN_ALLOCATOR
    GTEST_SKIP() << "built with the standard allocator";
#else
    EXPECT_EQ(reused, 100u);
#endif
}
}  // namespace
