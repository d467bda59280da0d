// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include <boost/lexical_cast.hpp>

#include "chess/board.h"
#include "data/test_data.h"
#include "unit/test_support.h"

namespace {
const std::string start_fen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
const std::string lexical_cast_message = "bad lexical cast: source type value could not be interpreted as target";

std::string reread(const std::string& fen) { return Board(fen).to_fen(); }

TEST(FenRoundTrip, StandardPositionsWriteBackTheirText) {
    EXPECT_EQ(Board::start_position().to_fen(), start_fen);
    EXPECT_EQ(Board::empty_board().to_fen(), "8/8/8/8/8/8/8/8 w - - 0 1");
    for (const std::string& fen : std::vector<std::string>{
             test_data::fen("kiwipete"), "rnbqkbnr/pp1ppppp/8/2p5/4P3/8/PPPP1PPP/RNBQKBNR w KQkq c6 0 2",
             "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 b - - 12 57", "8/8/8/8/8/8/8/8 b Qk a1 4294967295 0"}) {
        EXPECT_EQ(reread(fen), fen);
    }
}

TEST(FenRoundTrip, TextIsNormalised) {
    EXPECT_EQ(reread("8/8/8/8/8/8/8/8 W - - 0 1"), "8/8/8/8/8/8/8/8 w - - 0 1");
    EXPECT_EQ(reread("8/8/8/8/8/8/8/8 B qkQK - 0 1"), "8/8/8/8/8/8/8/8 b KQkq - 0 1");
    // Short ranks and a short field leave the rest empty; 9 skips a whole rank and more.
    EXPECT_EQ(reread("9 w - - 0 1"), "8/8/8/8/8/8/8/8 w - - 0 1");
    EXPECT_EQ(reread("k/8/K w - - 0 1"), "k7/8/K7/8/8/8/8/8 w - - 0 1");
    EXPECT_EQ(reread("r3k/pp/11111111/44/8/8/PP/R3K w - - 0 1"), "r3k3/pp6/8/8/8/8/PP6/R3K3 w - - 0 1");
    EXPECT_EQ(reread("7k9/8/8/8/8/8/8/K7 w - - 0 1"), "7k/8/8/8/8/8/8/K7 w - - 0 1");
    // Counters keep an optional sign; a minus wraps modulo 2^32.
    EXPECT_EQ(reread("8/8/8/8/8/8/8/8 w - - +7 -1"), "8/8/8/8/8/8/8/8 w - - 7 4294967295");
    const Board counters("8/8/8/8/8/8/8/8 w - - +7 -1");
    EXPECT_EQ(counters.halfmove_clock, 7u);
    EXPECT_EQ(counters.fullmove_number, 4294967295u);
    // Fields beyond the sixth are ignored; runs of white space count as one.
    EXPECT_EQ(reread(start_fen + " moves e2e4"), start_fen);
    EXPECT_EQ(reread(start_fen + " "), start_fen);
    EXPECT_EQ(reread("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR \t w\n\nKQkq  -   0 1\r\n"), start_fen);
    // No kings at all is accepted.
    EXPECT_EQ(reread("8/8/8/8/8/8/8/R7 w - - 0 1"), "8/8/8/8/8/8/8/R7 w - - 0 1");
}

TEST(FenRoundTrip, EnPassantFieldTakesAnySquare) {
    EXPECT_EQ(Board("8/8/8/8/8/8/8/8 w - e3 0 1").en_passant, sq("e3"));
    EXPECT_EQ(Board("8/8/8/8/8/8/8/8 w - a1 0 1").en_passant, sq("a1"));
    EXPECT_EQ(Board("8/8/8/8/8/8/8/8 w - d6x 0 1").en_passant, sq("d6"));
    EXPECT_FALSE(Board("8/8/8/8/8/8/8/8 w - - 0 1").en_passant.has_value());
}

TEST(FenRoundTrip, CopyAssignmentCopiesEveryField) {
    const std::string fen = "r3k2r/8/8/3pP3/8/8/8/R3K2R w Kq d6 3 42";
    Board copy = Board::start_position();
    copy = Board(fen);
    EXPECT_EQ(copy.to_fen(), fen);
    const Board& same = copy;
    copy = same;
    EXPECT_EQ(copy.to_fen(), fen);
}

TEST(FenErrors, EachFieldFailsWithItsOwnMessage) {
    const std::string tail = " w - - 0 1";
    EXPECT_EQ(thrown_message<std::out_of_range>([] { Board("8/8/8/8/8/8/8/8 w - - 0"); }),
              "invalid vector<T> subscript");
    EXPECT_EQ(thrown_message<std::out_of_range>([] { Board(""); }), "invalid vector<T> subscript");
    EXPECT_EQ(thrown_message([] { Board(" 8/8/8/8/8/8/8/8 w - - 0 1"); }), "Bad fen color in from_fen()");
    EXPECT_EQ(thrown_message([] { Board("8/8/8/8/8/8/8/8 x - - 0 1"); }), "Bad fen color in from_fen()");
    for (const char* castling : {"KK", "KQx", "--"}) {
        EXPECT_EQ(thrown_message([&] { Board("8/8/8/8/8/8/8/8 w " + std::string(castling) + " - 0 1"); }),
                  "Bad fen in RookingPosibility::from_fen()");
    }
    EXPECT_EQ(thrown_message<std::out_of_range>([] { Board("8/8/8/8/8/8/8/8 w - e 0 1"); }), "invalid string position");
    EXPECT_EQ(thrown_message([] { Board("8/8/8/8/8/8/8/8 w - e9 0 1"); }), "Invalid Coords in constructor");
    for (const char* counters : {"x 1", "0 x", "4294967296 1", "0 1.0", "0 0x1", "+ 1", "0 --1"}) {
        EXPECT_EQ(
            thrown_message<boost::bad_lexical_cast>([&] { Board("8/8/8/8/8/8/8/8 w - - " + std::string(counters)); }),
            lexical_cast_message)
            << counters;
    }
    EXPECT_EQ(thrown_message([&] { Board("ppppppppp" + tail); }), "Invalid Coords in constructor");
    EXPECT_EQ(thrown_message([&] { Board("8/8/8/8/8/8/8/8/p" + tail); }), "Invalid Coords in constructor");
    EXPECT_EQ(thrown_message([&] { Board("8/8/0/8/8/8/8/8" + tail); }), "Bad fen in Piece::from_fen(). (0)");
    EXPECT_EQ(thrown_message([&] { Board("rnbxkbnr" + tail); }), "Bad fen in Piece::from_fen(). (x)");
}

TEST(FenErrors, FirstBadFieldInReadingOrderIsReported) {
    // Every field wrong; repair them one at a time in reading order and watch
    // the reported error move on.
    std::vector<std::string> fields = {"x0/9p", "y", "KQx", "e", "hh", "ii"};
    const std::vector<std::string> repaired = {"8/8/8/8/8/8/8/8", "w", "KQ", "e3", "0", "1"};
    const auto fen = [&fields] {
        std::string text;
        for (const std::string& field : fields) text += field + " ";
        return text;
    };
    const auto error = [](const std::string& text) -> std::string {
        try {
            Board board(text);
        } catch (const std::exception& failure) {
            return failure.what();
        }
        return "<read>";
    };
    std::string five_fields = "x0/9p y KQx e hh";
    EXPECT_EQ(error(five_fields), "invalid vector<T> subscript");
    EXPECT_EQ(error(fen()), "Bad fen color in from_fen()");
    fields[1] = repaired[1];
    EXPECT_EQ(error(fen()), "Bad fen in RookingPosibility::from_fen()");
    fields[2] = repaired[2];
    EXPECT_EQ(error(fen()), "invalid string position");
    fields[3] = repaired[3];
    EXPECT_EQ(error(fen()), lexical_cast_message);
    fields[4] = repaired[4];
    EXPECT_EQ(error(fen()), lexical_cast_message);
    fields[5] = repaired[5];
    EXPECT_EQ(error(fen()), "Bad fen in Piece::from_fen(). (x)");  // placement left to right: x before 0
    fields[0] = "9p/0";
    EXPECT_EQ(error(fen()), "Invalid Coords in constructor");
    fields[0] = repaired[0];
    EXPECT_EQ(error(fen()), "<read>");
}

TEST(FenErrors, DefaultBoardHasNoColourToWrite) {
    EXPECT_EQ(thrown_message([] { Board().to_fen(); }), "Bad color in to_fen()");
}

// Texts made of FEN-like pieces and stray bytes: the reader either builds a
// board, which then writes a FEN that reads back to itself, or throws a
// standard exception. It never crashes.
TEST(FenErrors, ArbitraryTextEitherReadsOrThrows) {
    const std::string alphabet = "pnbrqkPNBRQK0123456789//// -wbWBKQkqaeh+x\t\xff";
    std::mt19937 random(20240611);
    int read = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        if (round % 2 == 0) text += " w KQkq - 0 1";
        try {
            const Board board(text);
            const std::string fen = board.to_fen();
            EXPECT_EQ(reread(fen), fen) << "from [" << text << "]";
            ++read;
        } catch (const std::exception&) {}
    }
    EXPECT_GT(read, 100);  // the generator does produce readable texts
}
}  // namespace
