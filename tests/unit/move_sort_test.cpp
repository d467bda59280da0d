// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "moves/movegen.h"

namespace {
bool same_moves(const MoveList& a, const MoveList& b) {
    if (a.size() != b.size()) return false;
    auto j = b.begin();
    for (auto i = a.begin(); i != a.end(); ++i, ++j) {
        if (i->priority != j->priority || !(i->move.from == j->move.from) || !(i->move.to == j->move.to) ||
            i->move.kind != j->move.kind || i->move.promotion != j->move.promotion) {
            return false;
        }
    }
    return true;
}

// The order of the legal move list decides the engine's play: the sort must
// give exactly what the stable std::list::sort gives, ties included.
TEST(SortByPriority, GivesTheStableListSortOrder) {
    std::mt19937 random(118);
    const int32_t keys[] = {1000, 1001, 3250,    3251,  5000,       9748,
                            9749, 9750, 9999000, -9749, 2147483647, -2147483647 - 1};
    for (int round = 0; round < 2000; ++round) {
        MoveList list;
        const int count = static_cast<int>(random() % 300);
        for (int i = 0; i < count; ++i) {
            const int32_t priority = random() % 3 == 0 ? static_cast<int32_t>(random()) : keys[random() % 12];
            const Coords from(1 + i % 8, 1 + (i / 8) % 8);
            const Coords to(1 + (i * 7) % 8, 1 + (i * 3) % 8);
            list.push_back(ScoredMove{priority, Move(from, to, MoveKind::quiet)});
        }
        MoveList expected = list;
        expected.sort([](const ScoredMove& a, const ScoredMove& b) { return a.priority > b.priority; });
        sort_by_priority(list);
        ASSERT_TRUE(same_moves(list, expected)) << "round " << round << ", " << count << " moves";
    }
}
}  // namespace
