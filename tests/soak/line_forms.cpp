// SPDX-License-Identifier: GPL-3.0-or-later
#include "line_forms.h"

#include <cstddef>

namespace {
// Reads a line from left to right; every step fails once one has failed.
class Scanner {
public:
    explicit Scanner(const std::string& text) : text(text) {}

    Scanner& literal(const std::string& word) {
        ok = ok && text.compare(at, word.size(), word) == 0;
        if (ok) at += word.size();
        return *this;
    }
    // One character out of `set`; with `optional`, none is fine too.
    Scanner& one_of(const std::string& set, bool optional = false) {
        if (ok && at < text.size() && set.find(text[at]) != std::string::npos) {
            ++at;
        } else if (!optional) {
            ok = false;
        }
        return *this;
    }
    // One or more characters out of `set`.
    Scanner& run_of(const std::string& set) {
        one_of(set);
        while (ok && at < text.size() && set.find(text[at]) != std::string::npos) ++at;
        return *this;
    }
    Scanner& number() { return run_of("0123456789"); }
    Scanner& square() { return one_of("abcdefgh").one_of("12345678"); }
    Scanner& move() { return square().square().one_of("nbrq", true); }
    bool at_move() const { return ok && at < text.size() && text[at] >= 'a' && text[at] <= 'h'; }
    bool next_is(char c) const { return ok && at < text.size() && text[at] == c; }
    bool end() const { return ok && at == text.size(); }

private:
    const std::string& text;
    std::size_t at = 0;
    bool ok = true;
};

// `line` without `suffix`, or nothing when it does not end in it.
bool strip_suffix(const std::string& line, const std::string& suffix, std::string& rest) {
    if (line.size() < suffix.size() || line.compare(line.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return false;
    }
    rest = line.substr(0, line.size() - suffix.size());
    return true;
}
// How the stream writes a double: 1.5, 2e-05, inf, -nan.
const std::string double_characters = "0123456789.-+eainf";
}  // namespace

bool is_bestmove_line(const std::string& line) {
    return line == "bestmove 0000" || Scanner(line).literal("bestmove ").move().end();
}

bool is_info_line(const std::string& line) {
    Scanner scan(line);
    scan.literal("info depth ").number().literal(" score ");
    if (scan.next_is('c')) {
        scan.literal("cp ");
    } else {
        scan.literal("mate ");
    }
    scan.one_of("-", true).number().literal(" nps ").number().literal(" nodes ").number().literal(" pv ");
    while (scan.at_move()) scan.move().literal(" ");
    return scan.end();
}

bool is_perft_move_line(const std::string& line) { return Scanner(line).move().literal(" - ").number().end(); }

bool is_total_line(const std::string& line) {
    return Scanner(line).literal("    Total: ").number().literal(" nodes").end();
}

bool is_time_line(const std::string& line) {
    std::string rest;
    return strip_suffix(line, "sec", rest) && Scanner(rest).literal("    Time: ").run_of(double_characters).end();
}

bool is_performance_line(const std::string& line) {
    std::string rest;
    return strip_suffix(line, "kN/sec", rest) &&
           Scanner(rest).literal("    Perfomance: ").run_of(double_characters).end();
}

bool is_fen_line(const std::string& line) {
    Scanner scan(line);
    scan.run_of("12345678pnbrqkPNBRQK/").literal(" ").one_of("wb").literal(" ");
    if (scan.next_is('-')) {
        scan.literal("-");
    } else {
        scan.one_of("K", true).one_of("Q", true).one_of("k", true).one_of("q", true);
    }
    scan.literal(" ");
    if (scan.next_is('-')) {
        scan.literal("-");
    } else {
        scan.square();
    }
    return scan.literal(" ").number().literal(" ").number().end();
}

bool is_piece_line(const std::string& line) {
    return Scanner(line).square().literal(", ").one_of("pnbrqkPNBRQK").end();
}

bool is_known_error(const std::string& message) {
    static const std::string known[] = {
        "Can't run another search.",
        "invalid vector<T> subscript",
        "invalid string position",
        "bad lexical cast: source type value could not be interpreted as target",
        "Invalid Coords in constructor",
        "Trying to get piece from empty square",
        "Trying to add piece in nonempty square",
        "Trying to remove piece from empty square",
    };
    for (const std::string& text : known) {
        if (message == text) return true;
    }
    // A promotion letter that is no piece: the letter (or nothing) in brackets.
    const std::string piece = "Bad fen in Piece::from_fen(). (";
    return message.compare(0, piece.size(), piece) == 0 && message.back() == ')' && message.size() <= piece.size() + 2;
}
