// The real program, end to end: how it ends, what it says, and what it shows.
#include "support/game_run.h"

#include "host/png_file.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <tuple>

namespace {

int Lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// A snapshot's pixels, 0x00RRGGBB.
std::vector<uint32_t> Picture(const std::string& path) {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    std::string error;
    EXPECT_TRUE(ReadPngRgb(path, &width, &height, &pixels, &error)) << path << ": " << error;
    EXPECT_EQ(width * height, 640 * 480);
    pixels.resize(640 * 480); // a missing picture fails above, and the comparisons go on safely
    return pixels;
}

// Each way out ends the game there and then: the snapshot due a second later is never taken
// (but for the script's own end, which is after it).
TEST(EndToEnd, QuitKeysAndTheCloseButton_ExitZeroSilently) {
    using Row = std::tuple<const char*, const char*, bool>;
    static const Row rows[] = {
        {"Escape", "100 key Escape\n1100 snapshot later.png\n", false},
        {"close button", "100 close\n1100 snapshot later.png\n", false},
        {"Alt+F4 in the panel's edit box", "100 down Alt\n110 key F4\n1100 snapshot later.png\n",
         false},
        {"alt+f4, named in lower case", "100 down alt\n110 key f4\n1100 snapshot later.png\n",
         false},
        {"the script ends", "100 key Left\n1100 snapshot later.png\n", true},
    };
    for (const auto& [name, script, snapshot_taken] : rows) {
        SCOPED_TRACE(name);
        GameRun run(script);
        EXPECT_EQ(run.exit_status, 0);
        EXPECT_EQ(run.standard_error, "");
        EXPECT_EQ(access(run.Path("later.png").c_str(), F_OK) == 0, snapshot_taken);
    }
}

TEST(EndToEnd, HelpAndVersion_SayTheirPieceAndExitZero) {
    GameRun help(CommandLine{"--help"}, ""), version(CommandLine{"--version"}, "");
    EXPECT_EQ(help.exit_status, 0);
    for (const char* part : {"Usage: zobu4", "--windowed", "--version",
                             "Keys:", "Scripts:", "Exit status:", "Files:"}) {
        EXPECT_NE(help.Read("stdout.txt").find(part), std::string::npos) << part;
    }
    EXPECT_EQ(version.exit_status, 0);
    EXPECT_EQ(version.Read("stdout.txt"), "zobu4 " ZOBU_VERSION "\n");
}

TEST(EndToEnd, MissingBackground_ExitOneWithOneLine) {
    GameRun run("100 key Escape\n", 0, ArtSetup::NoBackground);
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_EQ(Lines(run.standard_error), 1) << run.standard_error;
    EXPECT_NE(run.standard_error.find("back1.bmp"), std::string::npos) << run.standard_error;
}

// A band of columns and rows of the screen, its ends excluded.
struct Band {
    int left, top, right, bottom;
};

// How many pixels of two snapshots differ inside a band, and outside it.
std::pair<int, int> Differences(const GameRun& a, const GameRun& b, Band band) {
    const std::vector<uint32_t> one = Picture(a.Path("frame.png"));
    const std::vector<uint32_t> two = Picture(b.Path("frame.png"));
    std::pair<int, int> inside_outside;
    for (size_t i = 0; i < one.size() && i < two.size(); ++i) {
        const int x = static_cast<int>(i % 640), y = static_cast<int>(i / 640);
        const bool in = x >= band.left && x < band.right && y >= band.top && y < band.bottom;
        (in ? inside_outside.first : inside_outside.second) += one[i] != two[i];
    }
    return inside_outside;
}

// The Pot's art is broken: the game plays without the Pot, and says why once.
TEST(EndToEnd, CorruptPot_PlaysWithoutThePot) {
    GameRun broken("0 snapshot frame.png\n500 key Escape\n", 0, ArtSetup::CorruptPot);
    GameRun whole("0 snapshot frame.png\n", 0);
    ASSERT_EQ(broken.exit_status, 0) << broken.standard_error;
    EXPECT_EQ(Lines(broken.standard_error), 1) << broken.standard_error;
    EXPECT_NE(broken.standard_error.find("pot1.bmp"), std::string::npos);
    const auto [pot, elsewhere] = Differences(broken, whole, {288, 416, 352, 480});
    EXPECT_GT(pot, 1000) << "no Pot drawn";
    EXPECT_EQ(elsewhere, 0);
}

// A key the game has no command for causes a frame and nothing else. The frames are
// composed before each message is dispatched, so the quiet run still shows the Pot from
// before its step at 83 ms, while the keys' frame at 100 ms shows the step: the Pot's rows
// differ, and nothing else.
TEST(EndToEnd, OtherKeys_CauseAFrameAndNothingElse) {
    GameRun quiet("100 snapshot frame.png\n");
    GameRun keys("100 key A\n100 key Up\n100 key Return\n100 snapshot frame.png\n");
    ASSERT_EQ(keys.exit_status, 0) << keys.standard_error;
    const auto [pot_rows, elsewhere] = Differences(keys, quiet, {0, 416, 640, 480});
    EXPECT_GT(pot_rows, 0) << "the keys' frame shows the Pot's step";
    EXPECT_EQ(elsewhere, 0);
}

// What the launcher cannot use is refused before the game starts: exit status 2 and one
// short line that says what is wrong, and the script it was given is left as it was.
TEST(EndToEnd, WhatTheLauncherCannotUse_RefusedInOneLineExitTwo) {
    struct Row {
        const char* name;
        const char* words;
        std::string script;
        const char* says;
    };
    const std::string replay = "--headless --script input.script";
    const Row rows[] = {
        {"a misspelt option", "--windowd", "",
         "unknown option \"--windowd\"; did you mean --windowed?"},
        {"an unknown option among known ones", "--headless --bogus", "",
         "unknown option \"--bogus\""},
        {"an option cut short", "--headles", "", "did you mean --headless?"},
        {"--tick past its range", "--headless --tick 4294967296", "",
         "--tick takes a whole number"},
        {"an empty --tick", "--headless --tick ''", "", "--tick takes a whole number"},
        {"a folder as the script", "--headless --script Bitmaps", "", "Is a directory"},
        {"a device without end as the script", "--headless --script /dev/zero", "", "1 MiB"},
        {"an unknown event", replay.c_str(), "0 key Right\n10 press Left\n",
         "line 2: unknown event \"press\""},
        {"a NUL inside a key name", replay.c_str(), std::string("0 hold Right\0junk 3000\n", 23),
         "line 1: a NUL byte"},
        {"a tick line past the tick count's range", replay.c_str(), "tick 4294967296\n",
         "line 1: \"tick\" takes"},
        {"a hold of thirty thousand years", replay.c_str(), "0 hold Left 999999999999999\n",
         "line 1: a hold of 999999999999999 ms is longer than a day"},
        {"a time past a day", replay.c_str(), "86400001 key Space\n", "line 1: time 86400001"},
        {"an unknown key of 100 kB", replay.c_str(), "0 key " + std::string(100000, 'K') + "\n",
         "line 1: unknown key \"KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK...\""},
        {"a recording in a folder that is not there", "--headless --record /nonexistent/x.script",
         "", "cannot write the recording \"/nonexistent/x.script\": No such file or directory"},
        {"a recording over the script it replays",
         "--headless --script input.script --record "
         "./input.script",
         "0 key Space\n", "--record would write over the script it replays"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GameRun run(CommandLine{row.words}, row.script);
        EXPECT_EQ(run.exit_status, 2);
        EXPECT_EQ(Lines(run.standard_error), 1) << run.standard_error;
        EXPECT_LT(run.standard_error.size(), 160u);
        EXPECT_NE(run.standard_error.find(row.says), std::string::npos) << run.standard_error;
        EXPECT_EQ(run.Read("input.script"), row.script);
    }
}

// A recording holds every input the game took, when it took it: here a replay's, with the
// hold's repeats as the keyboard makes them and the close that ends a headless script.
TEST(EndToEnd, RecordingAReplay_WritesEveryInputTaken) {
    GameRun run(CommandLine{"--headless --script input.script --record rec.script"},
                "tick 7\n0 key Space\n150 hold Left 700\n2600 snapshot a.png\n");
    EXPECT_EQ(run.exit_status, 0) << run.standard_error;
    std::string repeats;
    for (int at = 650; at < 850; at += 33) {
        repeats += std::to_string(at) + " down Left\n";
    }
    EXPECT_EQ(run.Read("rec.script"), "tick 7\n0 down Space\n1 up Space\n150 down Left\n" +
                                          repeats + "850 up Left\n2600 close\n");
}

// A file --record would replace stays as it was when the game does not start; what could
// not be written makes a run that played end with 3.
TEST(EndToEnd, FilesThatCannotBeWritten_KeepWhatWasThereAndExitThree) {
    GameRun failed(CommandLine{"--headless --record input.script"}, "what was there\n",
                   ArtSetup::NoBackground);
    EXPECT_EQ(failed.exit_status, 1);
    EXPECT_EQ(failed.Read("input.script"), "what was there\n");
    GameRun snapshot(CommandLine{"--headless --script input.script"},
                     "0 snapshot /nonexistent/a.png\n");
    EXPECT_EQ(snapshot.exit_status, 3);
    EXPECT_EQ(Lines(snapshot.standard_error), 1) << snapshot.standard_error;
    EXPECT_NE(snapshot.standard_error.find("/nonexistent/a.png"), std::string::npos);
}

} // namespace
