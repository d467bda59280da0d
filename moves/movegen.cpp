// SPDX-License-Identifier: GPL-3.0-or-later
#include "moves/movegen.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>

#include "core/custom_exception.h"
#include "moves/attacks.h"

namespace {
struct Step {
    int32_t dx;
    int32_t dy;
};

constexpr Step bishop_directions[] = {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
constexpr Step rook_directions[] = {{-1, 0}, {0, -1}, {0, 1}, {1, 0}};
constexpr Step queen_directions[] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};
constexpr Step knight_steps[] = {{-2, -1}, {-2, 1}, {-1, -2}, {-1, 2}, {1, -2}, {1, 2}, {2, -1}, {2, 1}};

// Which of a piece's pseudo-legal moves a generator lists: all of them, or
// only the captures and en passant captures (capturing promotions are
// promotions, not captures). A generator of captures lists them in the order
// in which the full generator lists them.
enum class Scope { all, captures };

constexpr int32_t capture_key(int32_t victim_value) { return victim_value * 10000; }

void add(MoveList& list, int32_t priority, const Move& move) { list.push_back(ScoredMove{priority, move}); }

// A move of a sliding piece to every square along each direction until a
// piece stops it; `base` is the mover's share of the key.
template <Scope scope, std::size_t N>
MoveList slider_moves(const Board& board, const Coords& square, Color own, const Step (&directions)[N], int32_t base) {
    MoveList list;
    for (const Step& step : directions) {
        for (int32_t k = 1;; ++k) {
            const int32_t x = square.x + k * step.dx;
            const int32_t y = square.y + k * step.dy;
            if (!Coords::on_board(x, y)) break;
            const Coords target(x, y);
            const Piece* piece = board.piece_at(target);
            if (piece == nullptr) {
                if (scope == Scope::all) add(list, base + k, Move(square, target, MoveKind::quiet));
                continue;
            }
            if (piece->color != own)
                add(list, capture_key(piece->value()) - base + k, Move(square, target, MoveKind::capture));
            break;
        }
    }
    return list;
}

// A move to one square (knight and king steps): quiet on an empty square,
// capture on an opponent's piece, nothing on an own piece.
template <Scope scope>
void step_move(const Board& board, MoveList& list, const Coords& square, Color own, int32_t x, int32_t y,
               int32_t base) {
    if (!Coords::on_board(x, y)) return;
    const Coords target(x, y);
    const Piece* piece = board.piece_at(target);
    if (piece == nullptr) {
        if (scope == Scope::all) add(list, base, Move(square, target, MoveKind::quiet));
    } else if (piece->color != own) {
        add(list, capture_key(piece->value()) - base, Move(square, target, MoveKind::capture));
    }
}

bool is_own_rook(const Board& board, int32_t x, int32_t y, Color own) {
    const Piece* piece = board.piece_at(Coords(x, y));
    return piece != nullptr && piece->color == own && piece->kind == PieceKind::rook;
}

struct Castling {
    bool RookingPosibility::*right;
    Color color;
    int32_t rank;
    int32_t destination_file;
    int32_t crossed_file;
    int32_t corner_file;
};

const Castling castlings[] = {
    {&RookingPosibility::white_king_side, Color::white, 1, 7, 6, 8},
    {&RookingPosibility::white_queen_side, Color::white, 1, 3, 4, 1},
    {&RookingPosibility::black_king_side, Color::black, 8, 7, 6, 8},
    {&RookingPosibility::black_queen_side, Color::black, 8, 3, 4, 1},
};

// The generators proper, given the colour of the piece on `square`, which the
// caller has already read: generation reads each square of the side to move
// once, rather than again in piece_moves and in the generator.
template <Scope scope>
MoveList pawn_moves_of(const Board& board, const Coords& square, Color own) {
    MoveList list;
    const bool white = own == Color::white;
    const int32_t d = white ? 1 : -1;
    const int32_t start_rank = white ? 2 : 7;
    const int32_t pre_promotion_rank = white ? 7 : 2;
    const int32_t promotion_rank = white ? 8 : 1;
    const int32_t x = square.x;
    const int32_t y = square.y;

    // A pawn on its own promotion rank (possible only from a FEN) has no moves.
    if (y == promotion_rank) return list;

    if (y != pre_promotion_rank) {
        if (scope == Scope::all) {
            const Coords ahead(x, y + d);
            if (!board.has_piece(ahead)) {
                add(list, 1000, Move(square, ahead, MoveKind::quiet));
                if (y == start_rank) {
                    const Coords two_ahead(x, y + 2 * d);
                    if (!board.has_piece(two_ahead)) add(list, 1001, Move(square, two_ahead, MoveKind::double_push));
                }
            }
        }
        for (const int32_t tx : {x - 1, x + 1}) {
            if (tx < 1 || tx > 8) continue;
            const Coords target(tx, y + d);
            const Piece* piece = board.piece_at(target);
            if (piece != nullptr && piece->color != own) {
                add(list, capture_key(piece->value()) - 1000, Move(square, target, MoveKind::capture));
            }
            // En passant only where there is a pawn to take and the square is
            // free, so an inconsistent FEN cannot yield a move that fails.
            if (board.en_passant && *board.en_passant == target && piece == nullptr) {
                const Piece* taken = board.piece_at(Coords(target.x, target.y == 3 ? 4 : 5));
                if (taken != nullptr && taken->kind == PieceKind::pawn && taken->color != own) {
                    add(list, 9999000, Move(square, target, MoveKind::en_passant));
                }
            }
        }
        return list;
    }

    // Every move from the pre-promotion rank is a promotion.
    if (scope == Scope::captures) return list;
    for (const int32_t tx : {x - 1, x, x + 1}) {
        if (tx < 1 || tx > 8) continue;
        const Coords target(tx, promotion_rank);
        const Piece* piece = board.piece_at(target);
        const bool fits = tx == x ? piece == nullptr : piece != nullptr && piece->color != own;
        if (!fits) continue;
        add(list, 3250, Move(square, target, PieceKind::knight, MoveKind::promotion));
        add(list, 3250, Move(square, target, PieceKind::bishop, MoveKind::promotion));
        add(list, 5000, Move(square, target, PieceKind::rook, MoveKind::promotion));
        add(list, 9750, Move(square, target, PieceKind::queen, MoveKind::promotion));
    }
    return list;
}

template <Scope scope>
MoveList knight_moves_of(const Board& board, const Coords& square, Color own) {
    MoveList list;
    for (const Step& step : knight_steps) {
        step_move<scope>(board, list, square, own, square.x + step.dx, square.y + step.dy, 3250);
    }
    return list;
}

template <Scope scope>
MoveList bishop_moves_of(const Board& board, const Coords& square, Color own) {
    return slider_moves<scope>(board, square, own, bishop_directions, 3250);
}

template <Scope scope>
MoveList rook_moves_of(const Board& board, const Coords& square, Color own) {
    return slider_moves<scope>(board, square, own, rook_directions, 5000);
}

template <Scope scope>
MoveList queen_moves_of(const Board& board, const Coords& square, Color own) {
    return slider_moves<scope>(board, square, own, queen_directions, 9750);
}

template <Scope scope>
MoveList king_moves_of(const Board& board, const Coords& square, Color own) {
    MoveList list;
    for (const Step& step : queen_directions) {
        step_move<scope>(board, list, square, own, square.x + step.dx, square.y + step.dy, 9749);
    }
    if (scope == Scope::captures) return list;

    for (const Castling& castling : castlings) {
        if (!(board.rooking.*castling.right) || own != castling.color) continue;
        if (square != Coords(5, castling.rank)) continue;
        // A right whose rook is not on its corner (possible only from a FEN)
        // gives no move.
        if (!is_own_rook(board, castling.corner_file, castling.rank, own)) continue;
        const Coords destination(castling.destination_file, castling.rank);
        if (!board.is_line_free(square, destination)) continue;
        if (board.has_piece(destination)) continue;
        if (castling.corner_file == 1 && board.has_piece(Coords(2, castling.rank))) continue;
        const Color opponent = own.inverse();
        if (is_attacked(board, destination, opponent)) continue;
        if (is_attacked(board, square, opponent)) continue;
        if (is_attacked(board, Coords(castling.crossed_file, castling.rank), opponent)) continue;
        add(list, 9748, Move(square, destination, MoveKind::castling));
    }
    return list;
}

// The pseudo-legal moves of `piece`, standing on `square`, in generation order.
template <Scope scope>
MoveList moves_of(const Board& board, const Coords& square, const Piece& piece) {
    switch (piece.kind) {
        case PieceKind::pawn: return pawn_moves_of<scope>(board, square, piece.color);
        case PieceKind::knight: return knight_moves_of<scope>(board, square, piece.color);
        case PieceKind::bishop: return bishop_moves_of<scope>(board, square, piece.color);
        case PieceKind::rook: return rook_moves_of<scope>(board, square, piece.color);
        case PieceKind::queen: return queen_moves_of<scope>(board, square, piece.color);
        case PieceKind::king: return king_moves_of<scope>(board, square, piece.color);
        default:
            throw CustomException("Unknown piece type in generator. " +
                                  std::to_string(static_cast<int32_t>(piece.kind)));
    }
}

// Drops the moves that leave their mover's king attacked, keeping the order.
void keep_legal(Board& board, MoveList& list) {
    for (auto it = list.begin(); it != list.end();) {
        if (leaves_king_attacked(board, it->move)) {
            it = list.erase(it);
        } else {
            ++it;
        }
    }
}

// The pseudo-legal moves of the side to move in generation order: the
// squares file by file (a1, a2, ..., a8, b1, ..., h8), each piece's moves as
// its generator lists them. The side's pieces are read in one walk of the
// map, which holds exactly the occupied squares, rather than by looking up
// all 64 squares.
template <Scope scope>
MoveList generate(const Board& board) {
    const Color side = board.side_to_move;
    // The kinds of the side's pieces by square; only the entries of the set
    // bits are written and read, so the array is left uninitialised.
    PieceKind kinds[64];
    uint64_t occupied = 0;  // bit (x - 1) * 8 + (y - 1) for an own piece on (x, y)
    for_each_entry(board.pieces, [&](const PieceMap::value_type& entry) {
        if (entry.second.color != side) return;
        const int32_t index = (entry.first.x - 1) * 8 + (entry.first.y - 1);
        kinds[index] = entry.second.kind;
        occupied |= uint64_t{1} << index;
    });
    MoveList list;
    while (occupied != 0) {
        const int32_t index = __builtin_ctzll(occupied);
        occupied &= occupied - 1;
        list.splice(list.end(),
                    moves_of<scope>(board, Coords(index / 8 + 1, index % 8 + 1), Piece(side, kinds[index])));
    }
    return list;
}
}  // namespace

MoveList pawn_moves(const Board& board, const Coords& square) {
    return pawn_moves_of<Scope::all>(board, square, board.get_piece(square).color);
}
MoveList knight_moves(const Board& board, const Coords& square) {
    return knight_moves_of<Scope::all>(board, square, board.get_piece(square).color);
}
MoveList bishop_moves(const Board& board, const Coords& square) {
    return bishop_moves_of<Scope::all>(board, square, board.get_piece(square).color);
}
MoveList rook_moves(const Board& board, const Coords& square) {
    return rook_moves_of<Scope::all>(board, square, board.get_piece(square).color);
}
MoveList queen_moves(const Board& board, const Coords& square) {
    return queen_moves_of<Scope::all>(board, square, board.get_piece(square).color);
}
MoveList king_moves(const Board& board, const Coords& square) {
    return king_moves_of<Scope::all>(board, square, board.get_piece(square).color);
}

// Sorts by descending priority, keeping the generation order among equal
// priorities. A stable sort has exactly one result, so this gives the order
// that std::list::sort with "greater priority" gives; it sorts 64-bit keys
// (the priority, then the position in the list) in an array and writes the
// moves back into the list's nodes in that order, instead of relinking nodes
// through the library's out-of-line merge steps.
void sort_by_priority(MoveList& list) {
    constexpr std::size_t most = 256;  // more pseudo-legal moves than any position has
    const std::size_t n = list.size();
    if (n < 2) return;
    if (n > most) {
        list.sort([](const ScoredMove& a, const ScoredMove& b) { return a.priority > b.priority; });
        return;
    }
    // Raw storage for the copies: only the n that are written are read, and
    // constructing `most` moves first would cost more than the sort.
    static_assert(std::is_trivially_copyable_v<ScoredMove>);
    uint64_t keys[most];
    alignas(ScoredMove) unsigned char storage[most * sizeof(ScoredMove)];
    std::size_t i = 0;
    for (const ScoredMove& scored : list) {
        // Higher priority first: the flipped sign bit orders signed values as
        // unsigned ones, and the complement reverses that order.
        const uint32_t rank = ~(static_cast<uint32_t>(scored.priority) ^ 0x80000000u);
        keys[i] = static_cast<uint64_t>(rank) << 32 | i;
        std::memcpy(storage + i * sizeof(ScoredMove), &scored, sizeof(ScoredMove));
        ++i;
    }
    std::sort(keys, keys + n);
    i = 0;
    for (ScoredMove& scored : list) {
        std::memcpy(&scored, storage + (keys[i++] & 0xffffffffu) * sizeof(ScoredMove), sizeof(ScoredMove));
    }
}

std::optional<MoveUndo> make_legal_move(Board& board, const Move& move) {
    std::optional<MoveUndo> undo(make_move(board, move));
    if (in_check(board, board.side_to_move.inverse())) {
        unmake_move(board, *undo);
        undo.reset();
    }
    return undo;
}

bool leaves_king_attacked(Board& board, const Move& move) {
    const std::optional<MoveUndo> undo = make_legal_move(board, move);
    if (!undo) return true;
    unmake_move(board, *undo);
    return false;
}

MoveList piece_moves(Board& board, const Coords& square) {
    MoveList list = moves_of<Scope::all>(board, square, board.get_piece(square));
    keep_legal(board, list);
    return list;
}

MoveList pseudo_legal_moves(const Board& board) { return generate<Scope::all>(board); }

MoveList ordered_moves(const Board& board) {
    MoveList list = generate<Scope::all>(board);
    sort_by_priority(list);
    return list;
}

// A stable sort keeps the order of the moves it is given, so sorting the
// captures alone puts them in the order they have in the sorted whole list.
MoveList ordered_captures(const Board& board) {
    MoveList list = generate<Scope::captures>(board);
    sort_by_priority(list);
    return list;
}

// Filtering before sorting gives the list that sorting and then filtering
// gives, and sorts fewer moves.
MoveList legal_moves(Board& board) {
    MoveList list = generate<Scope::all>(board);
    keep_legal(board, list);
    sort_by_priority(list);
    return list;
}
