// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The forms of the lines the engine writes, matched over the whole line: a
// line that holds pieces of two lines matches none of them.

// bestmove e2e4, bestmove e7e8q, or bestmove 0000 when there is no move.
bool is_bestmove_line(const std::string& line);
// info depth D score (cp|mate) S nps N nodes N pv M1 M2 ... (a blank after
// every move, the last one included).
bool is_info_line(const std::string& line);
// One move of a perft count: e2e4 - 20.
bool is_perft_move_line(const std::string& line);
// The perft summary: "    Total: N nodes", "    Time: Xsec", "    Perfomance: XkN/sec".
bool is_total_line(const std::string& line);
bool is_time_line(const std::string& line);
bool is_performance_line(const std::string& line);
// The board command's FEN text.
bool is_fen_line(const std::string& line);
// One line of the pieces command: e4, P.
bool is_piece_line(const std::string& line);
// The message of an error line that the soak run's commands can provoke.
bool is_known_error(const std::string& message);
