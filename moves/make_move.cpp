// SPDX-License-Identifier: GPL-3.0-or-later
#include "moves/make_move.h"

#include "core/custom_exception.h"

namespace {
BoardChange move_back(const Coords& now, const Coords& back) {
    BoardChange change;
    change.from = now;
    change.to = back;
    change.op = ChangeOp::move;
    return change;
}

BoardChange put_back(const Piece& piece, const Coords& square) {
    BoardChange change;
    change.piece = piece;
    change.square = square;
    change.op = ChangeOp::add;
    return change;
}

BoardChange take_off(const Coords& square) {
    BoardChange change;
    change.square = square;
    change.op = ChangeOp::remove;
    return change;
}

// Moves the piece on `from` to `to` and returns it: reads it, puts a copy on
// `to` and takes it off `from`, with `from` looked up once for the read and
// the removal. Throws, with the board unchanged, when `from` is empty or `to`
// is occupied.
Piece move_piece(Board& board, const Coords& from, const Coords& to) {
    const auto entry = board.occupied_entry(from);
    const Piece piece = entry->second;
    board.add_piece(piece, to);
    board.remove_entry(entry);
    return piece;
}

[[noreturn]] void fail_get() { throw CustomException("Trying to get piece from empty square"); }
[[noreturn]] void fail_add() { throw CustomException("Trying to add piece in nonempty square"); }

void clear_captured_rook_right(RookingPosibility& rooking, const Piece& captured, const Coords& square) {
    if (captured.kind != PieceKind::rook) return;
    if (captured.color == Color::white) {
        if (square.y == 1 && square.x == 8) rooking.white_king_side = false;
        if (square.y == 1 && square.x == 1) rooking.white_queen_side = false;
    } else if (captured.color == Color::black) {
        if (square.y == 8 && square.x == 8) rooking.black_king_side = false;
        if (square.y == 8 && square.x == 1) rooking.black_queen_side = false;
    }
}

void clear_moved_piece_rights(RookingPosibility& rooking, const Piece& moved, const Coords& from) {
    if (moved.kind == PieceKind::king) {
        if (moved.color == Color::white) {
            rooking.white_king_side = false;
            rooking.white_queen_side = false;
        } else {
            rooking.black_king_side = false;
            rooking.black_queen_side = false;
        }
    } else if (moved.kind == PieceKind::rook) {
        if (from.y == 1 && from.x == 1) rooking.white_queen_side = false;
        if (from.y == 1 && from.x == 8) rooking.white_king_side = false;
        if (from.y == 8 && from.x == 1) rooking.black_queen_side = false;
        if (from.y == 8 && from.x == 8) rooking.black_king_side = false;
    }
}
}  // namespace

// Every check that can fail comes before the first change to the board, so a
// move that does not fit leaves the board untouched; the messages are those
// of the board operation that meets the misfit.
MoveUndo make_move(Board& board, const Move& move) {
    const Color next_side = board.side_to_move.inverse();
    const Coords& from = move.from;
    const Coords& to = move.to;

    MoveUndo undo;
    undo.en_passant = board.en_passant;
    undo.rooking = board.rooking;

    std::optional<Piece> captured_on_to;  // the piece `to` held before the move
    std::optional<Piece> now_on_to;       // the piece `to` holds after it

    switch (move.kind) {
        case MoveKind::quiet:
        case MoveKind::double_push: {
            now_on_to = move_piece(board, from, to);
            undo.changes.push_back(move_back(to, from));
            break;
        }
        case MoveKind::capture: {
            if (from == to) throw CustomException("Capture of a piece by itself in move " + move.to_uci());
            const auto victim_entry = board.occupied_entry(to);
            const Piece victim = victim_entry->second;
            const auto entry = board.occupied_entry(from);
            const Piece piece = entry->second;
            board.remove_entry(victim_entry);
            board.add_piece(piece, to);
            board.remove_entry(entry);
            undo.changes.push_back(move_back(to, from));
            undo.changes.push_back(put_back(victim, to));
            captured_on_to = victim;
            now_on_to = piece;
            break;
        }
        case MoveKind::en_passant: {
            if (!board.en_passant) throw CustomException("En passant move without en passant square: " + move.to_uci());
            const Coords taken(board.en_passant->x, board.en_passant->y == 3 ? 4 : 5);
            const Piece victim = board.get_piece(taken);
            if (from == taken) fail_get();
            const Piece piece = board.get_piece(from);
            if (to != taken && board.has_piece(to)) fail_add();
            board.remove_piece(taken);
            board.add_piece(piece, to);
            board.remove_piece(from);
            undo.changes.push_back(move_back(to, from));
            undo.changes.push_back(put_back(victim, taken));
            if (to == taken) captured_on_to = victim;
            now_on_to = piece;
            break;
        }
        case MoveKind::castling: {
            if (to.x != 3 && to.x != 7) throw CustomException("Invalid Coords in constructor");
            const Coords corner(to.x == 3 ? 1 : 8, to.y);
            const Coords rook_to(to.x == 3 ? 4 : 6, to.y);
            const Piece rook = board.get_piece(corner);
            const Piece king = board.get_piece(from);
            if (board.has_piece(to)) fail_add();
            if (from == corner) fail_get();
            if (rook_to != from && board.has_piece(rook_to)) fail_add();
            board.add_piece(king, to);
            board.remove_piece(from);
            board.add_piece(rook, rook_to);
            board.remove_piece(corner);
            undo.changes.push_back(move_back(to, from));
            undo.changes.push_back(put_back(rook, corner));
            undo.changes.push_back(take_off(rook_to));
            now_on_to = king;
            break;
        }
        case MoveKind::promotion: {
            const Piece pawn = board.get_piece(from);
            const Piece promoted(pawn.color, move.promotion);
            if (from != to) {
                if (const Piece* victim = board.piece_at(to)) captured_on_to = *victim;
            }
            board.remove_piece(from);
            if (captured_on_to) board.remove_piece(to);
            board.add_piece(promoted, to);
            undo.changes.push_back(put_back(pawn, from));
            undo.changes.push_back(take_off(to));
            if (captured_on_to) undo.changes.push_back(put_back(*captured_on_to, to));
            now_on_to = promoted;
            break;
        }
        default: {
            // Only the default move has no kind; it changes no placement.
            if (const Piece* piece = board.piece_at(to)) captured_on_to = now_on_to = *piece;
            break;
        }
    }

    board.side_to_move = next_side;
    board.en_passant.reset();
    if (move.kind == MoveKind::double_push) board.en_passant = Coords(from.x, to.y == 4 ? 3 : 6);
    if (captured_on_to) clear_captured_rook_right(board.rooking, *captured_on_to, to);
    if (now_on_to) clear_moved_piece_rights(board.rooking, *now_on_to, from);
    return undo;
}

void unmake_move(Board& board, const MoveUndo& undo) {
    board.side_to_move = board.side_to_move.inverse();
    board.en_passant = undo.en_passant;
    board.rooking = undo.rooking;
    for (const BoardChange& change : undo.changes) {
        switch (change.op) {
            case ChangeOp::move: move_piece(board, change.from, change.to); break;
            case ChangeOp::add: board.add_piece(change.piece, change.square); break;
            case ChangeOp::remove: board.remove_piece(change.square); break;
        }
    }
}
