// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <type_traits>
#include <utility>

#include "chess/coords.h"
#include "chess/piece.h"
#include "core/node_pool.h"

// The occupied squares, in rank-first key order.
using PieceMap = std::map<Coords, Piece, std::less<Coords>, PoolAllocator<std::pair<const Coords, Piece>>>;

// The lookups and walks below have a fast path that reads libstdc++'s own
// red-black tree nodes (_Rb_tree_node_base and its links, the header whose
// parent is the root, _M_valptr) instead of going through the map's
// interface: it relies on the node layout of libstdc++ releases 7 to 14 and
// on the map's iterators being plain node pointers, which the static_asserts
// below check, so it is not used in the library's checked mode
// (_GLIBCXX_DEBUG), with another library, or when BRIX_PORTABLE_MAP is
// defined (the CMake option of that name). The portable path uses only the
// map's interface; CI builds and tests it, and the checked mode, and compares
// their output with the fast path's.
#if defined(__GLIBCXX__) && defined(_GLIBCXX_RELEASE) && _GLIBCXX_RELEASE >= 7 && _GLIBCXX_RELEASE <= 14 && \
    !defined(_GLIBCXX_DEBUG) && !defined(BRIX_PORTABLE_MAP)
#define BRIX_MAP_NODE_PATH 1
#else
#define BRIX_MAP_NODE_PATH 0
#endif

#if BRIX_MAP_NODE_PATH
namespace piece_map_detail {
using Base = std::_Rb_tree_node_base;
using Node = std::_Rb_tree_node<PieceMap::value_type>;

// The links are node pointers that the iterators hold as they are.
static_assert(std::is_base_of_v<Base, Node>, "a map node starts with the library's node base");
static_assert(std::is_same_v<decltype(Base::_M_parent), Base*> && std::is_same_v<decltype(Base::_M_left), Base*> &&
                  std::is_same_v<decltype(Base::_M_right), Base*>,
              "the tree's links are plain node pointers");
static_assert(std::is_same_v<decltype(PieceMap::iterator::_M_node), Base*> &&
                  std::is_same_v<decltype(PieceMap::const_iterator::_M_node), const Base*>,
              "a map iterator holds its node and nothing else");
static_assert(sizeof(PieceMap::iterator) == sizeof(Base*), "a map iterator holds its node and nothing else");
static_assert(std::is_same_v<decltype(std::declval<const Node&>()._M_valptr()), const PieceMap::value_type*>,
              "a node stores its entry where _M_valptr points");
static_assert(std::is_trivially_copyable_v<Coords> && std::is_trivially_copyable_v<Piece>,
              "entries compare and copy as plain values");
}  // namespace piece_map_detail
#endif

// The piece on `square`, or nullptr when the map has no entry for it: one
// descent of the map's tree, like PieceMap::find.
//
// On the fast path, the descent is written out over the map's own red-black
// tree nodes: it compares the same keys along the same path from the root,
// but stops at the node that holds the square instead of going on to the
// bottom of the tree as find's lower-bound descent does, and picks the child
// by a comparison the compiler turns into a conditional move. Attack
// detection, move generation and make/unmake probe squares through here
// millions of times a second; the benchmark's perft and search cases run
// 10-17% faster with it (measured before the search tested legality on its
// own makes). The portable path uses find.
inline const Piece* find_piece(const PieceMap& pieces, const Coords& square) {
#if BRIX_MAP_NODE_PATH
    using piece_map_detail::Base;
    using piece_map_detail::Node;
    const Base* node = pieces.end()._M_node->_M_parent;  // the header's parent is the root
    while (node != nullptr) {
        const PieceMap::value_type& entry = *static_cast<const Node*>(node)->_M_valptr();
        if (entry.first == square) return &entry.second;
        node = entry.first < square ? node->_M_right : node->_M_left;
    }
    return nullptr;
#else
    const auto found = pieces.find(square);
    return found == pieces.end() ? nullptr : &found->second;
#endif
}

// The entry for `square`, or end(): what PieceMap::find returns, found by the
// same descent as find_piece.
inline PieceMap::iterator find_entry(PieceMap& pieces, const Coords& square) {
#if BRIX_MAP_NODE_PATH
    using piece_map_detail::Base;
    using piece_map_detail::Node;
    Base* node = pieces.end()._M_node->_M_parent;
    while (node != nullptr) {
        const PieceMap::value_type& entry = *static_cast<Node*>(node)->_M_valptr();
        if (entry.first == square) return PieceMap::iterator(node);
        node = entry.first < square ? node->_M_right : node->_M_left;
    }
    return pieces.end();
#else
    return pieces.find(square);
#endif
}

#if BRIX_MAP_NODE_PATH
// The walks below, written out over the map's own red-black tree nodes.
namespace piece_map_detail {
// The root of the tree: the parent of the map's header node.
inline const Base* root(const PieceMap& pieces) { return pieces.end()._M_node->_M_parent; }

inline const PieceMap::value_type& entry_of(const Base* node) { return *static_cast<const Node*>(node)->_M_valptr(); }

// The entries of the subtree under `node` in key order, up to the first for
// which `visit` returns true; that entry, or nullptr. The walk goes down the
// left and right links and back up by returning, so each entry costs one
// read of a link; stepping from entry to entry with the parent links (what
// the map's iterators do) reads about two dependent links per entry.
template <class Visit>
const PieceMap::value_type* walk_subtree(const Base* node, Visit& visit) {
    if (node == nullptr) return nullptr;
    for (;;) {
        if (node->_M_left != nullptr) {
            if (const PieceMap::value_type* found = walk_subtree(node->_M_left, visit)) return found;
        }
        const PieceMap::value_type& entry = entry_of(node);
        if (visit(entry)) return &entry;
        node = node->_M_right;
        if (node == nullptr) return nullptr;
    }
}

// The sum of `term` over the entries of the subtree under `node`. Each call
// returns its subtree's sum, so the running total stays in a register rather
// than in a variable that every visit reads and writes back.
template <class Term>
int32_t sum_subtree(const Base* node, const Term& term) {
    int32_t sum = 0;
    while (node != nullptr) {
        if (node->_M_left != nullptr) sum += sum_subtree(node->_M_left, term);
        sum += term(entry_of(node));
        node = node->_M_right;
    }
    return sum;
}
}  // namespace piece_map_detail
#endif

// The first entry in key order (a1, b1, ..., h8) for which `wanted` is true,
// or nullptr: a walk of the map from its beginning, visiting the entries as a
// loop over its iterators does and stopping at the first one wanted. On the
// fast path the walk is written out over the tree's nodes (walk_subtree).
template <class Wanted>
const PieceMap::value_type* first_entry(const PieceMap& pieces, Wanted wanted) {
#if BRIX_MAP_NODE_PATH
    return piece_map_detail::walk_subtree(piece_map_detail::root(pieces), wanted);
#else
    for (const PieceMap::value_type& entry : pieces) {
        if (wanted(entry)) return &entry;
    }
    return nullptr;
#endif
}

// Calls `visit` on every entry, in key order.
template <class Visit>
void for_each_entry(const PieceMap& pieces, Visit visit) {
    first_entry(pieces, [&visit](const PieceMap::value_type& entry) {
        visit(entry);
        return false;
    });
}

// The sum of `term` over all entries. Integer addition does not depend on
// the order of its terms, so the total is the one a loop over the entries in
// key order gives.
template <class Term>
int32_t sum_entries(const PieceMap& pieces, Term term) {
#if BRIX_MAP_NODE_PATH
    return piece_map_detail::sum_subtree(piece_map_detail::root(pieces), term);
#else
    int32_t sum = 0;
    for (const PieceMap::value_type& entry : pieces) sum += term(entry);
    return sum;
#endif
}
