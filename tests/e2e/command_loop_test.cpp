// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "engine_process.h"

namespace {
const std::string unknown = "Unknown command. Please try some else.";

TEST(CommandLoop, UciIdentifiesTheEngine) {
    EngineProcess engine;
    engine.send("uci");
    EXPECT_EQ(engine.read_line(), "id name Brix 1.1.8 (r118)");
    EXPECT_EQ(engine.read_line(), "id author Quorlan");
    EXPECT_EQ(engine.read_line(), "uciok");
    engine.send("quit");
    EXPECT_EQ(engine.wait_exit(), 0);
    EXPECT_EQ(engine.read_line(std::chrono::milliseconds(100)), std::nullopt);
}

TEST(CommandLoop, WholeLineCommandsMustStandAlone) {
    EngineProcess engine;
    for (const char* line :
         {"uci ", " isready", "UCI", "Isready", "quit now", "board x", "pieces x", "\t", " ", " go"}) {
        engine.send(line);
        EXPECT_EQ(engine.read_line(), unknown) << "line: [" << line << "]";
    }
    auto before = engine.sync();
    ASSERT_TRUE(before);
    EXPECT_TRUE(before->empty());
}

TEST(CommandLoop, EmptyLinesAndIgnoredCommandsWriteNothing) {
    EngineProcess engine;
    for (const char* line :
         {"", "ucinewgame", "ponderhit", "setoption name Hash value 32", "register", "register later", "stop"}) {
        engine.send(line);
    }
    auto lines = engine.sync();
    ASSERT_TRUE(lines);
    EXPECT_TRUE(lines->empty());
}

TEST(CommandLoop, CrLfLineEndsAreAccepted) {
    EngineProcess engine;
    engine.send_raw("isready\r\nuci\r\n");
    EXPECT_EQ(engine.read_line(), "readyok");
    EXPECT_EQ(engine.read_line(), "id name Brix 1.1.8 (r118)");
}

TEST(CommandLoop, DebugAnswersAndRefusals) {
    EngineProcess engine;
    engine.send("debug on");
    EXPECT_EQ(engine.read_line(), "info string Debug mode was enabled.");
    engine.send("debug on");
    EXPECT_EQ(engine.read_line(), "info string Debug mode was enabled.");
    engine.send("debug off");
    EXPECT_EQ(engine.read_line(), "info string Debug mode was disabled.");
    for (const char* line : {"debug", "debug on off", "debug ON", "debug  on"}) {
        engine.send(line);
        EXPECT_EQ(engine.read_line(), unknown) << line;
    }
}

TEST(CommandLoop, MegabyteLineIsAnsweredAndTheEngineGoesOn) {
    EngineProcess engine;
    engine.send(std::string(1 << 20, 'x'));
    EXPECT_EQ(engine.read_line(), unknown);
    engine.send("position " + std::string(1 << 20, 'y'));
    auto lines = engine.sync();
    ASSERT_TRUE(lines);
    EXPECT_TRUE(lines->empty());
}

TEST(CommandLoop, BinaryBytesGetTheFallbackReply) {
    EngineProcess engine;
    engine.send_raw(std::string("\x01\x02\xff\xfe", 4) + std::string(1, '\0') + "go\n");
    EXPECT_EQ(engine.read_line(), unknown);
    // Every byte but LF in one line, and a Ctrl-Z alone, which a Windows C
    // runtime reading text would take for the end of input.
    std::string every_byte;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != '\n') every_byte += static_cast<char>(byte);
    }
    engine.send(every_byte);
    EXPECT_EQ(engine.read_line(), unknown);
    engine.send("\x1a");
    EXPECT_EQ(engine.read_line(), unknown);
    EXPECT_TRUE(engine.sync());
}

TEST(CommandLoop, EndOfInputEndsTheEngineWithStatusZero) {
    EngineProcess engine;
    engine.send("isready");
    EXPECT_EQ(engine.read_line(), "readyok");
    engine.close_input();
    EXPECT_EQ(engine.wait_exit(), 0);
}

TEST(CommandLoop, LastLineWithoutLineEndIsStillRun) {
    EngineProcess engine;
    engine.send_raw("isready");
    engine.close_input();
    EXPECT_EQ(engine.read_line(), "readyok");
    EXPECT_EQ(engine.wait_exit(), 0);
}

TEST(CommandLoop, ErrorsAreReportedAndTheLoopGoesOn) {
    EngineProcess engine;
    engine.send("board");
    EXPECT_EQ(engine.read_line(), "There are some error while processing command: Bad color in to_fen()");
    engine.send("perft x");
    EXPECT_EQ(engine.read_line(),
              "There are some error while processing command: bad lexical cast: source type value could not be "
              "interpreted as target");
    engine.send("go depth");
    EXPECT_EQ(engine.read_line(), "There are some error while processing command: invalid vector<T> subscript");
    EXPECT_TRUE(engine.sync());
}
}  // namespace
