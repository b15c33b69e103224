// Runs the real program, headless.
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace {

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

void LinkArt(const std::string& directory, ArtSetup art) {
    mkdir((directory + "/Bitmaps").c_str(), 0755);
    for (const std::string name :
         {"back1.bmp", "Quib1.bmp", "pot1.bmp", "ZOBU1.bmp", "ZOBU2.bmp"}) {
        const std::string from = std::string(ZOBU_BITMAPS_DIR) + "/" + name;
        const std::string to = directory + "/Bitmaps/" + name;
        unlink(to.c_str());
        if (art == ArtSetup::CorruptPot && name == "pot1.bmp") {
            Write(to, "BM this is not a picture");
        } else if (!(art == ArtSetup::NoBackground && name == "back1.bmp") &&
                   symlink(from.c_str(), to.c_str()) != 0) {
            ADD_FAILURE() << "cannot link " << from;
        }
    }
}

GameRun::GameRun(const std::string& script, uint64_t tick, ArtSetup art)
    : GameRun(CommandLine{"--headless --tick " + std::to_string(tick) + " --script input.script"},
              script, art) {}

GameRun::GameRun(const CommandLine& command, const std::string& script, ArtSetup art) {
    char pattern[] = "/tmp/zobu4-run-XXXXXX";
    if (!mkdtemp(pattern)) {
        ADD_FAILURE() << "cannot make a directory under /tmp";
        return;
    }
    directory_ = pattern;
    LinkArt(directory_, art);
    Write(Path("input.script"), script);
    const std::string run = "cd '" + directory_ + "' && " + ZOBU4_COMMAND + " " + command.words +
                            " 2>stderr.txt >stdout.txt";
    const int status = system(run.c_str());
    exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    standard_error = FileContents(Path("stderr.txt"));
}

std::string GameRun::Read(const std::string& name) const {
    return FileContents(Path(name));
}

GameRun::~GameRun() {
    if (!directory_.empty()) {
        const std::string remove = "rm -rf '" + directory_ + "'";
        if (system(remove.c_str()) != 0) {
            ADD_FAILURE() << "cannot remove " << directory_;
        }
    }
}

std::string TestScript(const std::string& name) {
    const std::string path = std::string(ZOBU_SCRIPTS_DIR) + "/" + name + ".script";
    const std::string text = FileContents(path);
    EXPECT_FALSE(text.empty()) << "no script " << path;
    return text;
}

std::string FileContents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}
