// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// The positions and figures that the tests, the fuzzers and the benchmark
// share, read from the files of this folder (the scripts read the same
// files): perft-suite.txt, published perft counts of well-known positions,
// and search-figures.txt, what `go depth N` reports on some of them.
namespace test_data {

struct PerftPosition {
    std::string name;  // as in the file: "kiwipete", "discovered-checks"
    std::string fen;
    std::vector<uint64_t> counts;  // counts[d - 1]: legal move sequences of depth d
};

struct SearchIteration {
    uint32_t depth;
    int32_t score;   // engine units, a pawn is 1000, from the side to move's view
    uint64_t nodes;  // since the start of the search, all iterations together
    std::string pv;  // moves separated by one blank
};

struct SearchFigures {
    std::string name;  // a position of the perft suite
    std::string fen;
    std::vector<SearchIteration> iterations;  // depths 1, 2, ... in order
};

const std::vector<PerftPosition>& perft_suite();

// The suite position called `name`, and its FEN; both throw
// std::out_of_range for a name the suite does not have.
const PerftPosition& suite_position(const std::string& name);
const std::string& fen(const std::string& name);

const std::vector<SearchFigures>& search_figures();

// The figures of `name` up to `depth` (fewer if fewer are pinned).
SearchFigures search_figures(const std::string& name, uint32_t depth);

// Every position's figures up to `depth`.
std::vector<SearchFigures> search_figures_up_to(uint32_t depth);

// A name fit for a GoogleTest parameter: letters, digits and underscores.
std::string test_name(const std::string& name);

}  // namespace test_data

// Test names and failure messages show the position's name only.
namespace test_data {
inline void PrintTo(const PerftPosition& position, std::ostream* out) { *out << position.name; }
inline void PrintTo(const SearchFigures& figures, std::ostream* out) { *out << figures.name; }
}  // namespace test_data
