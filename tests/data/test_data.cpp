// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/test_data.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace test_data {
namespace {
// The lines of a data file that are neither blank nor comments, each split
// at '|'. A file that cannot be read is an error: no test may pass on an
// empty table.
std::vector<std::vector<std::string>> read_rows(const std::string& file, std::size_t fields) {
    const std::string path = std::string(BRIX_TEST_DATA_DIR) + "/" + file;
    std::ifstream input(path);
    if (!input) throw std::runtime_error("cannot read test data " + path);
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(input, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> row;
        std::istringstream fields_of(line);
        for (std::string field; std::getline(fields_of, field, '|');) row.push_back(field);
        if (row.size() != fields) throw std::runtime_error(path + ": malformed line: " + line);
        rows.push_back(row);
    }
    if (rows.empty()) throw std::runtime_error(path + ": no data");
    return rows;
}
}  // namespace

const std::vector<PerftPosition>& perft_suite() {
    static const std::vector<PerftPosition> suite = [] {
        std::vector<PerftPosition> positions;
        for (const auto& row : read_rows("perft-suite.txt", 3)) {
            PerftPosition position{row[0], row[1], {}};
            std::istringstream counts(row[2]);
            for (uint64_t count; counts >> count;) position.counts.push_back(count);
            positions.push_back(position);
        }
        return positions;
    }();
    return suite;
}

const PerftPosition& suite_position(const std::string& name) {
    for (const PerftPosition& position : perft_suite()) {
        if (position.name == name) return position;
    }
    throw std::out_of_range("no position " + name + " in the perft suite");
}

const std::string& fen(const std::string& name) { return suite_position(name).fen; }

const std::vector<SearchFigures>& search_figures() {
    static const std::vector<SearchFigures> figures = [] {
        std::vector<SearchFigures> all;
        for (const auto& row : read_rows("search-figures.txt", 5)) {
            if (all.empty() || all.back().name != row[0]) all.push_back(SearchFigures{row[0], fen(row[0]), {}});
            SearchFigures& position = all.back();
            const SearchIteration iteration{static_cast<uint32_t>(std::stoul(row[1])), std::stoi(row[2]),
                                            std::stoull(row[3]), row[4]};
            if (iteration.depth != position.iterations.size() + 1) {
                throw std::runtime_error("search-figures.txt: " + row[0] + " skips to depth " + row[1]);
            }
            position.iterations.push_back(iteration);
        }
        return all;
    }();
    return figures;
}

SearchFigures search_figures(const std::string& name, uint32_t depth) {
    for (const SearchFigures& position : search_figures()) {
        if (position.name != name) continue;
        SearchFigures figures = position;
        if (figures.iterations.size() > depth) figures.iterations.resize(depth);
        return figures;
    }
    throw std::out_of_range("no search figures for " + name);
}

std::vector<SearchFigures> search_figures_up_to(uint32_t depth) {
    std::vector<SearchFigures> all;
    for (const SearchFigures& position : search_figures()) all.push_back(search_figures(position.name, depth));
    return all;
}

std::string test_name(const std::string& name) {
    std::string text = name;
    for (char& c : text) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!plain) c = '_';
    }
    return text;
}
}  // namespace test_data
