// Runs the real program, headless, in a directory of its own, as a user would from a shell.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

// What the game's art folder holds for a run.
enum class ArtSetup {
    Complete,     // the game's five pictures
    NoBackground, // all but back1.bmp
    CorruptPot,   // pot1.bmp is not a picture
};

// Puts the game's art into DIRECTORY/Bitmaps, as links to the project's pictures, but as
// `art` says; links already there are replaced.
void LinkArt(const std::string& directory, ArtSetup art = ArtSetup::Complete);

// The words that follow `zobu4` on a command line, as a shell reads them.
struct CommandLine {
    std::string words;
};

class GameRun {
  public:
    // Runs `zobu4 --headless --tick TICK --script input.script` with the script's text in
    // input.script, in a fresh directory under /tmp, and waits for it to end. The directory,
    // and the files the run wrote into it, last as long as this object.
    GameRun(const std::string& script, uint64_t tick = 0, ArtSetup art = ArtSetup::Complete);
    // The same with a command line of the test's own.
    GameRun(const CommandLine& command, const std::string& script,
            ArtSetup art = ArtSetup::Complete);
    ~GameRun();

    // The text of a file in the run's directory.
    std::string Read(const std::string& name) const;

    int exit_status = -1;
    std::string standard_error;
    // The path of a file the run wrote, by its name in the script.
    std::string Path(const std::string& name) const { return directory_ + "/" + name; }

  private:
    std::string directory_;
};

// The text of a script of the test tree, tests/scripts/NAME.script.
std::string TestScript(const std::string& name);

// What a file holds, byte for byte; empty when it cannot be read.
std::string FileContents(const std::string& path);
