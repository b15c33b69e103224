// Golden frames of the running game, from the scripts in tests/scripts; the promise that a
// replay is the same run; and the exact comparison that judges the frames.
#include "support/game_run.h"
#include "support/golden.h"

#include "host/png_file.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <unistd.h>

namespace {

struct Case {
    const char* script;
    uint64_t tick;
    std::vector<const char*> snapshots; // each compared with tests/golden/game_<name>.png
};

class GameFrames : public ::testing::TestWithParam<Case> {};

TEST_P(GameFrames, MatchTheGoldenPictures) {
    const Case& c = GetParam();
    GameRun run(TestScript(c.script), c.tick);
    ASSERT_EQ(run.exit_status, 0) << run.standard_error;
    EXPECT_EQ(run.standard_error, "");
    for (const char* name : c.snapshots) {
        SCOPED_TRACE(name);
        const std::string snapshot = run.Path(std::string(name) + ".png");
        ExpectPngMatchesGolden(std::string("game_") + name, snapshot);
        // The PNG writer's bytes too, on every processor (a cross build's run under its
        // emulator): a snapshot is the same file wherever the game runs.
        EXPECT_TRUE(FileContents(snapshot) ==
                    FileContents(std::string(ZOBU_GOLDEN_DIR) + "/game_" + name + ".png"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, GameFrames,
    ::testing::Values(Case{"first_frame", 0, {"first_frame"}},
                      Case{"three_rights", 0, {"three_rights"}},
                      Case{"in_flight", 0, {"in_flight"}},
                      Case{"catch_then_miss", 7, {"caught", "missed"}},
                      Case{"overlap", 7, {"overlap1", "overlap2"}},
                      Case{"speed_ladder", 0, {"speed8", "speed10", "speed12"}},
                      Case{"first_miss", 0, {"first_miss"}}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.script); });

// The same script and tick give the same snapshots, byte for byte.
TEST(Replay, SameScriptAndTick_SameSnapshots) {
    const std::string script = "0 key Space\n150 hold Left 700\n1200 key Space\n"
                               "1500 snapshot a.png\n4000 snapshot b.png\n";
    GameRun first(script, 12345), second(script, 12345);
    for (const char* name : {"a.png", "b.png"}) {
        SCOPED_TRACE(name);
        const std::string bytes = first.Read(name);
        EXPECT_GT(bytes.size(), 1000u);
        EXPECT_EQ(bytes, second.Read(name));
    }
    GameRun other_tick(script, 54321);
    EXPECT_NE(first.Read("b.png"), other_tick.Read("b.png"))
        << "another tick seeds the Pot's steering otherwise";
}

// The comparison is exact, and says where the first difference is.
TEST(GoldenCompare, ExactMatch_OrCountAndFirstDifference) {
    std::vector<uint16_t> frame(4 * 3);
    for (size_t i = 0; i < frame.size(); ++i) {
        frame[i] = static_cast<uint16_t>(i * 0x1111);
    }
    const std::string expected = "/tmp/zobu4-golden-" + std::to_string(getpid()) + ".png";
    const std::string actual = expected + ".actual.png";
    auto write = [&](const std::string& path, int height) {
        std::string error;
        EXPECT_TRUE(WritePng565(path, frame.data(), 4, height, 8, &error)) << error;
    };
    write(expected, 3);
    write(actual, 3);
    EXPECT_TRUE(ComparePngs(actual, expected).matches);
    frame[6] ^= 0x0020; // one step of green at (2, 1)
    frame[11] ^= 0x0001;
    write(actual, 3);
    const GoldenComparison differs = ComparePngs(actual, expected);
    EXPECT_FALSE(differs.matches);
    EXPECT_EQ(differs.differing, 2);
    EXPECT_EQ(std::make_pair(differs.first_x, differs.first_y), std::make_pair(2, 1));
    write(actual, 2);
    EXPECT_FALSE(ComparePngs(actual, expected).error.empty()) << "another size";
    remove(expected.c_str());
    EXPECT_FALSE(ComparePngs(actual, expected).error.empty()) << "no file";
    remove(actual.c_str());
}

} // namespace
