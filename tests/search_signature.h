#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// The search's signature: what `go depth 5` reports, iteration by iteration,
// on four positions. The node counts and lines follow from the fixed move order
// and the exact node counting of the search, so any change to them (a speed-up
// that prunes, reorders or counts differently) shows up here. nps is left out:
// it depends on the machine.
//
// The start position's figures are known independently. The other positions'
// figures were taken from the engine and then checked against the reference
// search in tests/unit/search_signature_test.cpp: a separately written
// fail-hard alpha-beta that counts nodes the same way, a plain minimax for the
// scores at low depth, and a replay of every line down to its leaf.
struct SignatureIteration {
    uint32_t depth;
    int32_t score;   // internal units, from the side to move at the root
    uint64_t nodes;  // since the start of the search, all iterations
    std::string pv;  // moves separated by one blank
};

struct SignaturePosition {
    std::string name;
    std::string fen;
    std::vector<SignatureIteration> iterations;  // depths 1..5
};

// Test names show the position's name only.
inline void PrintTo(const SignaturePosition& position, std::ostream* out) { *out << position.name; }

inline const std::vector<SignaturePosition>& search_signature() {
    static const std::vector<SignaturePosition> positions = {
        {"startpos",
         "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
         {{1, 0, 41, "b1a3"},
          {2, 0, 144, "b1a3 b8a6"},
          {3, 0, 1138, "b1a3 b8a6 a1b1"},
          {4, 0, 3758, "b1a3 b8a6 a1b1 a8b8"},
          {5, 0, 29017, "b1a3 b8a6 a1b1 a8b8 b1a1"}}},
        {"kiwipete",
         "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
         {{1, 0, 670, "e2a6 b4c3"},
          {2, 0, 2018, "e2a6 b4c3"},
          {3, 0, 9639, "e2a6 b4c3 b2c3 e6d5"},
          {4, 0, 39332, "e2a6 b4c3 b2c3 e6d5"},
          {5, 0, 278353, "e2a6 b4c3 d2c3 e6d5 e4d5 h3g2"}}},
        {"endgame",
         "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
         {{1, 1000, 29, "b4f4"},
          {2, 1000, 137, "b4f4 h4g3"},
          {3, 1000, 729, "b4f4 h4g3 f4c4"},
          {4, 1000, 2649, "b4f4 h4g3 f4c4 g3g2 c4c7"},
          {5, 1000, 12298, "b4f4 h4g3 f4f7 g3g2 f7c7"}}},
        {"middlegame",
         "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
         {{1, 0, 128, "g5f6 g7f6"},
          {2, 0, 934, "g5f6 g7f6"},
          {3, 0, 5801, "g5f6 g7f6 e2d1"},
          {4, 0, 30181, "g5f6 g7f6 e2d1 g4f3 g2f3"},
          {5, 0, 205196, "g5f6 g7f6 e2d1 g4f3 g2f3"}}},
    };
    return positions;
}
