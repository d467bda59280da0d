// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "data/test_data.h"
#include "engine_process.h"

namespace {
const std::string start_fen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
const std::string after_e4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1";
const std::string after_e4_e5 = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 1";
const std::string error = "There are some error while processing command: ";

using Lines = std::vector<std::string>;

// Sends `line` and returns everything the engine writes in reply.
Lines reply(EngineProcess& engine, const std::string& line) {
    engine.send(line);
    return engine.sync().value_or(Lines{"<no readyok>"});
}

std::string board(EngineProcess& engine) {
    engine.send("board");
    return engine.read_line().value_or("<no line>");
}

TEST(PositionCommand, StartposWithAndWithoutMoves) {
    EngineProcess engine;
    EXPECT_EQ(reply(engine, "position startpos"), Lines());
    EXPECT_EQ(board(engine), start_fen);
    EXPECT_EQ(reply(engine, "position startpos moves e2e4"), Lines());
    EXPECT_EQ(board(engine), after_e4);
    EXPECT_EQ(reply(engine, "position startpos moves e2e4 e7e5"), Lines());
    EXPECT_EQ(board(engine), after_e4_e5);
    EXPECT_EQ(reply(engine, "position startpos moves e2e4 e7e5 g1f3 b8c6 f1b5 g8f6 e1g1"), Lines());
    EXPECT_EQ(board(engine), "r1bqkb1r/pppp1ppp/2n2n2/1B2p3/4P3/5N2/PPPP1PPP/RNBQ1RK1 b kq - 0 1");
}

TEST(PositionCommand, MovesCountOnlyRightAfterTheWordMoves) {
    EngineProcess engine;
    for (const char* line : {"position startpos moves", "position startpos e2e4", "position startpos  moves e2e4"}) {
        reply(engine, "position startpos moves d2d4");
        EXPECT_EQ(reply(engine, line), Lines()) << line;
        EXPECT_EQ(board(engine), start_fen) << line;
    }
}

TEST(PositionCommand, FenFormReadsSixFieldsAndThenTheMoves) {
    EngineProcess engine;
    const std::string kiwipete = test_data::fen("kiwipete");
    EXPECT_EQ(reply(engine, "position fen " + kiwipete), Lines());
    EXPECT_EQ(board(engine), kiwipete);
    EXPECT_EQ(reply(engine, "position fen 8/8/8/8/8/8/8/8 W qkQK - +7 -1 extra"), Lines());
    EXPECT_EQ(board(engine), "8/8/8/8/8/8/8/8 w KQkq - 7 4294967295");
    EXPECT_EQ(reply(engine, "position fen 4k3/8/8/8/8/8/8/4K2R w K - 5 9 moves e1g1 e8d8"), Lines());
    EXPECT_EQ(board(engine), "3k4/8/8/8/8/8/8/5RK1 w - - 5 9");
    EXPECT_EQ(reply(engine, "position fen 4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1 moves e5d6"), Lines());
    EXPECT_EQ(board(engine), "4k3/8/3P4/8/8/8/8/4K3 b - - 0 1");
    EXPECT_EQ(reply(engine, "position fen 1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1 moves a7b8n"), Lines());
    EXPECT_EQ(board(engine), "1N2k3/8/8/8/8/8/8/4K3 b - - 0 1");
}

TEST(PositionCommand, BadFenKeepsTheOldPosition) {
    EngineProcess engine;
    reply(engine, "position startpos moves e2e4");
    for (const char* line : {"position fen 8/8/8/8/8/8/8/8 w - -", "position fen", "position fen moves e7e5",
                             "position fen 8/8/8/8/8/8/8/8 x - - 0 1", "position fen 8/8/8/8/8/8/8/8 w KK - 0 1",
                             "position fen 8/8/8/8/8/8/8/8 w - e 0 1", "position fen 8/8/8/8/8/8/8/8 w - - 0 z",
                             "position fen ppppppppp/8 w - - 0 1", "position fen \x01\xff w - - 0 1",
                             "position fen 8/8/8/8/8/8/8/8 w - - 0 4294967296"}) {
        EXPECT_EQ(reply(engine, line), Lines({"Bad fen."})) << line;
        EXPECT_EQ(board(engine), after_e4) << line;
    }
}

TEST(PositionCommand, MovesAfterABadFenArePlayedOnTheOldPosition) {
    EngineProcess engine;
    reply(engine, "position startpos moves e2e4");
    EXPECT_EQ(reply(engine, "position fen xyz w KQkq - 0 1 moves e7e5"), Lines({"Bad fen."}));
    EXPECT_EQ(board(engine), after_e4_e5);
}

TEST(PositionCommand, BadMoveStopsTheListWhereItStands) {
    EngineProcess engine;
    const std::pair<const char*, const char*> cases[] = {
        {"e9e5", "Invalid Coords in constructor"},
        {"e2e4", "Trying to get piece from empty square"},
        {"e7e8", "Bad fen in Piece::from_fen(). ()"},
        {"e7", "invalid string position"},
        {"", "invalid string position"},  // the line ends in a blank
    };
    for (const auto& [bad, message] : cases) {
        const std::string line = "position startpos moves e2e4 " + std::string(bad) + (*bad ? " d2d4" : "");
        EXPECT_EQ(reply(engine, line), Lines({error + message})) << line;
        EXPECT_EQ(board(engine), after_e4) << line;
    }
}

TEST(PositionCommand, MoveThatDoesNotFitTheBoardChangesNothing) {
    EngineProcess engine;
    // Castling is read from the king's two-file step; the rook is missing.
    EXPECT_EQ(reply(engine, "position fen 4k3/8/8/8/8/8/8/4K3 w KQ - 0 1 moves e1g1"),
              Lines({error + "Trying to get piece from empty square"}));
    EXPECT_EQ(board(engine), "4k3/8/8/8/8/8/8/4K3 w KQ - 0 1");
    // A piece "capturing" on its own square is refused by name.
    const Lines self_capture = reply(engine, "position fen 4k3/8/8/8/8/8/8/4K3 w - - 0 1 moves e1e2 e2e2 e8e7");
    ASSERT_EQ(self_capture.size(), 1u);
    EXPECT_EQ(self_capture[0].rfind(error, 0), 0u) << self_capture[0];
    EXPECT_NE(self_capture[0].find("e2e2"), std::string::npos) << self_capture[0];
    EXPECT_EQ(board(engine), "4k3/8/8/8/8/8/4K3/8 b - - 0 1");
}

TEST(PositionCommand, LegalityIsNotChecked) {
    EngineProcess engine;
    EXPECT_EQ(reply(engine, "position startpos moves e2e5"), Lines());
    EXPECT_EQ(board(engine), "rnbqkbnr/pppppppp/8/4P3/8/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1");
    EXPECT_EQ(reply(engine, "position startpos moves e7e5"), Lines());
    EXPECT_EQ(board(engine), "rnbqkbnr/pppp1ppp/8/4p3/8/8/PPPPPPPP/RNBQKBNR b KQkq e6 0 1");
    EXPECT_EQ(reply(engine, "position fen 4k3/8/8/8/8/8/8/4K3 w - - 0 1 moves e1e2 e8e7 e2e4 e7e8 e4e2"), Lines());
    EXPECT_EQ(board(engine), "4k3/8/8/8/8/8/4K3/8 b - - 0 1");
}

TEST(PositionCommand, OtherFormsChangeNothing) {
    EngineProcess engine;
    reply(engine, "position startpos moves e2e4");
    for (const char* line : {"position xyz", "position xyz moves e7e5", "position Startpos", "position  startpos",
                             "position moves e7e5"}) {
        EXPECT_EQ(reply(engine, line), Lines()) << line;
        EXPECT_EQ(board(engine), after_e4) << line;
    }
    EXPECT_EQ(reply(engine, "position"), Lines({"Unknown command. Please try some else."}));
    EXPECT_EQ(board(engine), after_e4);
}
}  // namespace
