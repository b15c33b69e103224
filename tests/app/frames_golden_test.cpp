// Golden frames of the running game, from the scripts in tests/scripts, and the promise that
// a replay is the same run.
#include "support/game_run.h"
#include "support/golden.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

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
        ExpectPngMatchesGolden(std::string("game_") + name, run.Path(std::string(name) + ".png"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, GameFrames,
    ::testing::Values(Case{"first_frame", 0, {"first_frame"}},
                      Case{"three_rights", 0, {"three_rights"}},
                      Case{"in_flight", 0, {"in_flight"}},
                      Case{"catch_then_miss", 7, {"caught", "missed"}},
                      Case{"overlap", 7, {"overlap1", "overlap2"}},
                      Case{"speed_ladder", 0, {"speed8", "speed10", "speed12"}}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.script); });

std::string Bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// The same script and tick give the same snapshots, byte for byte.
TEST(Replay, SameScriptAndTick_SameSnapshots) {
    const std::string script = "0 key Space\n150 hold Left 700\n1200 key Space\n"
                               "1500 snapshot a.png\n4000 snapshot b.png\n";
    GameRun first(script, 12345), second(script, 12345);
    for (const char* name : {"a.png", "b.png"}) {
        SCOPED_TRACE(name);
        const std::string bytes = Bytes(first.Path(name));
        EXPECT_GT(bytes.size(), 1000u);
        EXPECT_EQ(bytes, Bytes(second.Path(name)));
    }
    GameRun other_tick(script, 54321);
    EXPECT_NE(Bytes(first.Path("b.png")), Bytes(other_tick.Path("b.png")))
        << "another tick seeds the Pot's steering otherwise";
}

} // namespace
