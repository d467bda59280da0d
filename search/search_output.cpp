// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_output.h"

#include <cmath>
#include <limits>

#include "search/clock.h"

std::string format_score(int32_t score) {
    const int64_t s = score;
    int64_t plies = -1;
    if (s > 0 && SCORE_INFINITY - s <= 10000) plies = SCORE_INFINITY - s;
    if (s <= 0 && s + SCORE_INFINITY >= 0 && s + SCORE_INFINITY <= 10000) plies = s + SCORE_INFINITY;
    if (plies < 0) return "cp " + std::to_string(score / 10);
    if (plies % 2 == 1) return "mate " + std::to_string((plies + 1) / 2);
    return "mate " + std::to_string(-(plies / 2));
}

namespace {
uint64_t nodes_per_second(uint64_t nodes, int64_t ticks) {
    if (ticks <= 0) return 0;
    const double rate = static_cast<double>(nodes) / (static_cast<double>(ticks) / ticks_per_second);
    if (!(rate < 18446744073709551615.0)) return std::numeric_limits<uint64_t>::max();
    return static_cast<uint64_t>(rate);
}
}  // namespace

std::string format_info(uint32_t depth, const SearchResult& result, uint64_t nodes, int64_t ticks) {
    std::string line = "info depth " + std::to_string(depth) + " score " + format_score(result.score) + " nps " +
                       std::to_string(nodes_per_second(nodes, ticks)) + " nodes " + std::to_string(nodes) + " pv ";
    for (const Move& move : result.pv) {
        line += move.to_uci();
        line += ' ';
    }
    line += '\n';
    return line;
}

std::string format_bestmove(const Move& move) {
    return "bestmove " + (move.kind == MoveKind::none ? std::string("0000") : move.to_uci()) + "\n";
}
