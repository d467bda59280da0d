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

// The lookups and walks below have a fast path that reads the library's own
// red-black tree nodes instead of going through the map's interface. Each
// library has its own node types, so each has its own fence:
// - libstdc++ releases 7 to 14 (_Rb_tree_node_base and its links, the header
//   whose parent is the root, _M_valptr; the map's iterators are plain node
//   pointers), not in its checked mode (_GLIBCXX_DEBUG);
// - libc++ 13, the library of the WebAssembly build (__tree_node_base and its
//   links, __tree::__root, __value_type::__get_value; the map's one member is
//   its __tree, which the map's standard layout lets a reference to the map
//   be read as), not in its debug mode (_LIBCPP_DEBUG).
// The static_asserts below check what each relies on. With another library,
// or when BRIX_PORTABLE_MAP is defined (the CMake option of that name), the
// portable path uses only the map's interface; CI builds and tests it, and
// libstdc++'s checked mode, and compares their output and the WebAssembly
// build's with the fast path's.
#if defined(__GLIBCXX__) && defined(_GLIBCXX_RELEASE) && _GLIBCXX_RELEASE >= 7 && _GLIBCXX_RELEASE <= 14 && \
    !defined(_GLIBCXX_DEBUG) && !defined(BRIX_PORTABLE_MAP)
#define BRIX_MAP_NODE_PATH 1
#define BRIX_MAP_LIBSTDCXX_NODES 1
#elif defined(_LIBCPP_VERSION) && _LIBCPP_VERSION >= 13000 && _LIBCPP_VERSION < 14000 && !defined(_LIBCPP_DEBUG) && \
    !defined(BRIX_PORTABLE_MAP)
#define BRIX_MAP_NODE_PATH 1
#define BRIX_MAP_LIBSTDCXX_NODES 0
#else
#define BRIX_MAP_NODE_PATH 0
#endif

#if BRIX_MAP_NODE_PATH
namespace piece_map_detail {
static_assert(std::is_trivially_copyable_v<Coords> && std::is_trivially_copyable_v<Piece>,
              "entries compare and copy as plain values");

#if BRIX_MAP_LIBSTDCXX_NODES
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

// The root of the tree: the parent of the map's header node.
inline const Base* root(const PieceMap& pieces) { return pieces.end()._M_node->_M_parent; }
inline const Base* left(const Base* node) { return node->_M_left; }
inline const Base* right(const Base* node) { return node->_M_right; }
inline const PieceMap::value_type& entry_of(const Base* node) { return *static_cast<const Node*>(node)->_M_valptr(); }
#else
using Value = std::__value_type<Coords, Piece>;
using Tree = std::__tree<Value, std::__map_value_compare<Coords, Value, std::less<Coords>>, PoolAllocator<Value>>;
using Base = std::__tree_node_base<void*>;
using Node = std::__tree_node<Value, void*>;

// The map is its tree: the tree type spelt here is the one behind the map's
// iterators, it is the map's one member, and the map's standard layout makes
// the two pointer-interconvertible.
static_assert(std::is_same_v<PieceMap::iterator, std::__map_iterator<Tree::iterator>> &&
                  std::is_same_v<PieceMap::const_iterator, std::__map_const_iterator<Tree::const_iterator>>,
              "the map's tree is the one spelt here");
static_assert(std::is_standard_layout_v<PieceMap> && sizeof(PieceMap) == sizeof(Tree),
              "the map holds its tree and nothing else");
static_assert(std::is_base_of_v<Base, Node> && std::is_same_v<decltype(Base::__left_), Base*> &&
                  std::is_same_v<decltype(Base::__right_), Base*>,
              "the tree's links are plain node pointers");
static_assert(std::is_same_v<decltype(std::declval<const Tree&>().__root()), Node*>,
              "the tree's root is a plain node pointer");
static_assert(std::is_same_v<decltype(std::declval<const Node&>().__value_.__get_value()), const PieceMap::value_type&>,
              "a node stores its entry in its value");

inline const Base* root(const PieceMap& pieces) { return reinterpret_cast<const Tree&>(pieces).__root(); }
inline const Base* left(const Base* node) { return node->__left_; }
inline const Base* right(const Base* node) { return node->__right_; }
inline const PieceMap::value_type& entry_of(const Base* node) {
    return static_cast<const Node*>(node)->__value_.__get_value();
}
#endif

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
    using namespace piece_map_detail;
    const Base* node = root(pieces);
    while (node != nullptr) {
        const PieceMap::value_type& entry = entry_of(node);
        if (entry.first == square) return &entry.second;
        node = entry.first < square ? right(node) : left(node);
    }
    return nullptr;
#else
    const auto found = pieces.find(square);
    return found == pieces.end() ? nullptr : &found->second;
#endif
}

// The entry for `square`, or end(): what PieceMap::find returns, found on
// libstdc++'s fast path by the same descent as find_piece (its iterators are
// made from a node; libc++'s are not, publicly).
inline PieceMap::iterator find_entry(PieceMap& pieces, const Coords& square) {
#if BRIX_MAP_NODE_PATH && BRIX_MAP_LIBSTDCXX_NODES
    using namespace piece_map_detail;
    const Base* node = root(pieces);
    while (node != nullptr) {
        const PieceMap::value_type& entry = entry_of(node);
        if (entry.first == square) return PieceMap::iterator(const_cast<Base*>(node));
        node = entry.first < square ? right(node) : left(node);
    }
    return pieces.end();
#else
    return pieces.find(square);
#endif
}

#if BRIX_MAP_NODE_PATH
// The walks below, written out over the map's own red-black tree nodes.
namespace piece_map_detail {
// The entries of the subtree under `node` in key order, up to the first for
// which `visit` returns true; that entry, or nullptr. The walk goes down the
// left and right links and back up by returning, so each entry costs one
// read of a link; stepping from entry to entry with the parent links (what
// the map's iterators do) reads about two dependent links per entry.
template <class Visit>
const PieceMap::value_type* walk_subtree(const Base* node, Visit& visit) {
    if (node == nullptr) return nullptr;
    for (;;) {
        if (left(node) != nullptr) {
            if (const PieceMap::value_type* found = walk_subtree(left(node), visit)) return found;
        }
        const PieceMap::value_type& entry = entry_of(node);
        if (visit(entry)) return &entry;
        node = right(node);
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
        if (left(node) != nullptr) sum += sum_subtree(left(node), term);
        sum += term(entry_of(node));
        node = right(node);
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
