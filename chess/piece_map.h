#pragma once

#include <functional>
#include <map>
#include <utility>

#include "chess/coords.h"
#include "chess/node_pool.h"
#include "chess/piece.h"

// The occupied squares, in rank-first key order.
using PieceMap = std::map<Coords, Piece, std::less<Coords>, PoolAllocator<std::pair<const Coords, Piece>>>;

// The piece on `square`, or nullptr when the map has no entry for it: one
// descent of the map's tree, like PieceMap::find.
//
// With libstdc++, the descent is written out over the map's own red-black
// tree nodes: it compares the same keys along the same path from the root,
// but stops at the node that holds the square instead of going on to the
// bottom of the tree as find's lower-bound descent does, and picks the child
// by a comparison the compiler turns into a conditional move. Attack
// detection, move generation and make/unmake probe squares through here
// millions of times a second; the benchmark's perft and search cases run
// 10-17% faster with it. Other standard libraries use find.
inline const Piece* find_piece(const PieceMap& pieces, const Coords& square) {
#if defined(__GLIBCXX__)
    using Base = std::_Rb_tree_node_base;
    using Node = std::_Rb_tree_node<PieceMap::value_type>;
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
#if defined(__GLIBCXX__)
    using Base = std::_Rb_tree_node_base;
    using Node = std::_Rb_tree_node<PieceMap::value_type>;
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

// The first entry in key order (a1, b1, ..., h8) for which `wanted` is true,
// or nullptr: a walk of the map from its beginning, like a loop over its
// iterators. With libstdc++, the step to the next entry is written out over
// the tree's nodes so that it is inlined here instead of being a call into
// the library at every entry; the entries visited and their order are those
// of the iterators.
template <class Wanted>
const PieceMap::value_type* first_entry(const PieceMap& pieces, Wanted wanted) {
#if defined(__GLIBCXX__)
    using Base = std::_Rb_tree_node_base;
    using Node = std::_Rb_tree_node<PieceMap::value_type>;
    const Base* header = pieces.end()._M_node;
    for (const Base* node = header->_M_left; node != header;) {
        const PieceMap::value_type& entry = *static_cast<const Node*>(node)->_M_valptr();
        if (wanted(entry)) return &entry;
        if (node->_M_right != nullptr) {
            node = node->_M_right;
            while (node->_M_left != nullptr) node = node->_M_left;
        } else {
            const Base* parent = node->_M_parent;
            while (node == parent->_M_right) {
                node = parent;
                parent = parent->_M_parent;
            }
            if (node->_M_right != parent) node = parent;
        }
    }
    return nullptr;
#else
    for (const PieceMap::value_type& entry : pieces) {
        if (wanted(entry)) return &entry;
    }
    return nullptr;
#endif
}
