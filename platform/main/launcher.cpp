// Zobu 4: the Linux entry point. It reads the host's own options, sets the
// host up (with a script to replay, and a recording), and hands over to the game's WinMain, whose
// result is the exit status. The game itself reads no command line: what is left after the host's
// options is passed on as WinMain's command line, as Windows would pass it.
#ifdef _WIN32
#error "On Windows the program starts at WinMain itself; this file is for Linux."
#endif

#include <windows.h>

#include "host/headless/headless.h"
#include "host/host.h"
#include "host/png_file.h"
#include "host/recorder.h"
#include "host/script.h"
#include "host/sdl/event_wait.h"
#include "host/sdl/sdl_host.h"
#include "kernel/embedded_resources.h"
#include "kernel/resources.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

namespace {

// What the command line asks for.
struct Settings {
    bool headless = false;
    bool tick_given = false;
    uint64_t tick = 0;
    std::string script;
    std::string record;
    SdlOptions sdl;
    bool help = false;
    bool version = false;
};

// The host's options, each with its help and what it does to the settings. --help prints
// them, the manual page is made from --help (help2man), and the command line is read by
// them: this table is the one place they are written. `take` gets the option's value (null
// for a flag) and says why a value is not one.
struct Option {
    const char* name;
    const char* argument; // null for a flag
    const char* help;
    bool (*take)(const char* value, Settings* s, std::string* why);
};
const Option kOptions[] = {
    {"--windowed", nullptr, "play in a window rather than on the whole screen",
     [](const char*, Settings* s, std::string*) { return s->sdl.windowed = true; }},
    {"--scale", "N", "the window's scale (default: the largest that fits 80 % of the screen)",
     [](const char* v, Settings* s, std::string* why) {
         *why = "a whole number from 1 to 16";
         char* end = nullptr;
         const long scale = strtol(v, &end, 10);
         s->sdl.scale = static_cast<int>(scale);
         return *v >= '1' && *v <= '9' && *end == '\0' && scale <= 16;
     }},
    {"--gpu", nullptr, "scale on the graphics card (OpenGL) rather than the processor",
     [](const char*, Settings* s, std::string*) { return s->sdl.gpu = true; }},
    {"--record", "FILE", "write every input the game takes, with its time, to FILE as a script",
     [](const char* v, Settings* s, std::string*) { return !(s->record = v).empty(); }},
    {"--headless", nullptr, "run with no window: a virtual clock, scripted input, snapshots",
     [](const char*, Settings* s, std::string*) { return s->headless = true; }},
    {"--script", "FILE", "take input from FILE too (one event a line: see Scripts)",
     [](const char* v, Settings* s, std::string*) { return !(s->script = v).empty(); }},
    {"--tick", "N", "start the tick count at N (headless: 0, or the script's): it seeds the Pot",
     [](const char* v, Settings* s, std::string* why) {
         *why = "a whole number from 0 to 4294967295";
         return s->tick_given = ParseTick(v, &s->tick);
     }},
    {"--help", nullptr, "print this help and exit",
     [](const char*, Settings* s, std::string*) { return s->help = true; }},
    {"--version", nullptr, "print the version and exit",
     [](const char*, Settings* s, std::string*) { return s->version = true; }},
};

const char kHelpBefore[] =
    "Usage: zobu4 [OPTION]...\n"
    "A small arcade toy: drop items from the Dropper into the Pot that wanders below.\n"
    "\n"
    "Keys:\n"
    "  Left, Right       move the Dropper\n"
    "  Space             drop an item\n"
    "  Escape, Alt+F4    quit\n"
    "  Alt+Enter         switch between the whole screen and a window\n"
    "\n"
    "A game controller plays too: the d-pad or the left stick moves, the south button\n"
    "drops, Back quits.\n"
    "\n"
    "Options:\n";

const char kHelpAfter[] =
    "\n"
    "Scripts:\n"
    "  One event a line, its time in virtual ms since the game started; a recording's\n"
    "  first line, \"tick N\", names the tick count it started at.\n"
    "\n"
    "  MS key NAME            a tap: down, and up 1 ms later\n"
    "  MS down NAME           a key goes down\n"
    "  MS up NAME             a key comes up\n"
    "  MS hold NAME LENGTH    held LENGTH ms, repeating as the keyboard does\n"
    "  MS close               the window's close button\n"
    "  MS lose                another program takes the display, and gives it back\n"
    "  MS snapshot FILE.png   the screen, once everything due by then is handled\n"
    "\n"
    "NAME: Left, Right, Up, Down, Space, Escape, Return, Tab, Backspace, Alt, Ctrl,\n"
    "Shift, F1-F12, A-Z, 0-9. Times and lengths reach a day (86400000 ms) at most;\n"
    "a script is at most 1 MiB.\n"
    "\n"
    "Exit status:\n"
    "  0   the game was quit: Escape, Alt+F4, the close button, SIGINT, SIGTERM, or\n"
    "      the end of a headless script\n"
    "  1   the game could not start; one line on standard error says why\n"
    "  2   a command line or script it cannot read, or a recording it cannot write\n"
    "  3   the game was quit, but a snapshot or the recording could not be written\n"
    "\n"
    "Files:\n"
    "  Bitmaps/          the art, in the current folder; where there is none, the\n"
    "                    program plays from ../share/zobu4 beside its own folder\n";

void PrintHelp() {
    fputs(kHelpBefore, stdout);
    for (const Option& o : kOptions) {
        const std::string left =
            std::string(o.name) + (o.argument ? std::string(" ") + o.argument : "");
        printf("  %-16s  %s\n", left.c_str(), o.help);
    }
    fputs(kHelpAfter, stdout);
}

// A failure to start, said in one line; exit status 2, as for a command line's mistakes.
int Refuse(const std::string& what) {
    fprintf(stderr, "zobu4: %s\n", what.c_str());
    return 2;
}

// How many single-letter edits make one word the other.
size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// Reads the command line into `s`; false, with the one line to say, for anything it is not.
// Words that are not options are left for WinMain's command line, as Windows would pass them.
bool ReadCommandLine(int argc, char** argv, Settings* s, std::string* rest, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.empty() || word[0] != '-') {
            *rest += (rest->empty() ? "" : " ") + word;
            continue;
        }
        const Option* option = nullptr;
        const Option* closest = nullptr;
        size_t closest_distance = 3; // a close match is at most two letters off
        for (const Option& o : kOptions) {
            const size_t distance = EditDistance(word.substr(0, 40), o.name);
            if (distance == 0) {
                option = &o;
            } else if (distance < closest_distance) {
                closest = &o;
                closest_distance = distance;
            }
        }
        if (!option) {
            const std::string shown = word.size() <= 40 ? word : word.substr(0, 40) + "...";
            *error = "unknown option \"" + shown + "\"" +
                     (closest ? std::string("; did you mean ") + closest->name + "?" : "") +
                     " (see --help)";
            return false;
        }
        const char* value = nullptr;
        if (option->argument) {
            if (i + 1 >= argc) {
                *error = word + " needs a value; see --help";
                return false;
            }
            value = argv[++i];
        }
        std::string why;
        if (!option->take(value, s, &why)) {
            *error = word + " takes " + (why.empty() ? std::string("a value") : why);
            return false;
        }
    }
    return true;
}

// Whether two paths name one file that exists.
bool SameFile(const std::string& a, const std::string& b) {
    struct stat first = {}, second = {};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// The game looks for its art in the current folder, as on Windows. Installed, it keeps the
// art in ../share/zobu4 beside its own folder; started where there is no Bitmaps folder (from
// a desktop's menu, or a shell anywhere), it plays from there, as a Windows shortcut's
// start-in folder would have it.
void StartInTheDataFolder() {
    struct stat info = {};
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (stat("Bitmaps", &info) == 0 || length <= 0) {
        return;
    }
    self[length] = '\0';
    std::string data = self;
    data = data.substr(0, data.rfind('/')) + "/../share/zobu4";
    if (stat((data + "/Bitmaps").c_str(), &info) == 0 && chdir(data.c_str()) != 0) {
        fprintf(stderr, "zobu4: cannot enter %s\n", data.c_str());
    }
}

// The folder the program was started in, before StartInTheDataFolder; empty if unknown.
std::string start_folder;

// A file the user named, taken from the folder the program was started in, so that it stays
// the same file after StartInTheDataFolder.
std::string FromStartFolder(const std::string& path) {
    if (path.empty() || path[0] == '/' || start_folder.empty()) {
        return path;
    }
    return start_folder + "/" + path;
}

// A run of the program: what the command line asks, the script it replays and the tick count
// it starts from.
struct Run {
    Settings settings;
    std::string rest; // WinMain's command line
    std::string script_path, record_path;
    std::vector<ScriptEvent> events;
    uint64_t tick = 0;
    bool tick_known = false;
};

// Reads the script and the tick it starts from, and begins the recording: false, having said
// why, for what cannot be read or written.
bool PrepareInput(Run* run) {
    std::string error;
    run->tick = run->settings.tick;
    run->tick_known = run->settings.tick_given;
    if (!run->script_path.empty()) {
        uint64_t recorded_tick = 0;
        bool has_tick = false;
        if (!LoadScript(run->script_path, &run->events, &has_tick, &recorded_tick, &error)) {
            Refuse(error);
            return false;
        }
        for (ScriptEvent& e : run->events) {
            e.path = FromStartFolder(e.path); // snapshots go where the user ran the script
        }
        if (!run->tick_known && has_tick) {
            run->tick = recorded_tick; // a recording replays from the tick it started at
            run->tick_known = true;
        }
    }
    if (!run->record_path.empty()) {
        if (SameFile(run->record_path, run->script_path)) {
            Refuse("--record would write over the script it replays, \"" + run->script_path + "\"");
            return false;
        }
        if (!RecorderOpen(run->record_path, &error)) {
            Refuse("cannot write the recording \"" + run->record_path + "\": " + error);
            return false;
        }
    }
    return true;
}

// Opens the host the run names, with the script on its schedule; null, having said why,
// when there is no display for a window.
const HostOps* OpenHost(Run* run) {
    const HostOps* host = nullptr;
    std::function<void(const std::string&)> snapshot;
    EventSchedule* schedule = nullptr;
    if (run->settings.headless) {
        HeadlessReset(HeadlessClock::Virtual, run->tick);
        // A script that ends with the game still running ends with the close button.
        HeadlessCloseWhenScriptEnds(true);
        host = HeadlessHost();
        schedule = &HeadlessSchedule();
        snapshot = [](const std::string& path) { WriteSnapshotPng(path, HeadlessFrame().data()); };
    } else {
        std::string error;
        host = SdlHostOpen(run->settings.sdl, &error);
        if (!host) {
            fprintf(stderr, "zobu4: %s; run it with --headless to play without a display\n",
                    error.c_str());
            return nullptr;
        }
        // A tick count that differs from run to run, as Windows' time since boot does: it
        // seeds the Pot's wandering. A replayed recording starts from its own.
        if (!run->tick_known) {
            run->tick = static_cast<uint64_t>(time(nullptr)) * 1000 % 0xFFFFFFFFu;
        }
        SdlHostStartTick(run->tick);
        schedule = &SdlHostSchedule();
        snapshot = SdlHostSnapshot;
    }
    ScheduleScript(run->events, run->tick, schedule, snapshot);
    return run->record_path.empty() ? host : RecorderWrap(host, run->tick);
}

// Ends a run that played: the window closes, the recording takes its name. The exit status:
// WinMain's, or 3 when the game played but a snapshot or the recording was not written.
int Finish(const Run& run, int status) {
    if (!run.settings.headless) {
        SdlHostClose();
    }
    std::string error;
    if (!run.record_path.empty() && status != 0) {
        RecorderDiscard(); // the game did not start: nothing was played to keep
    } else if (!run.record_path.empty() && !RecorderFinish(&error)) {
        fprintf(stderr, "zobu4: cannot write the recording \"%s\": %s\n", run.record_path.c_str(),
                error.c_str());
        status = status == 0 ? 3 : status;
    }
    if (SnapshotFailures() > 0 && status == 0) {
        status = 3; // each failure was said as it happened
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    Run run;
    std::string error;
    if (!ReadCommandLine(argc, argv, &run.settings, &run.rest, &error)) {
        return Refuse(error);
    }
    if (run.settings.help) {
        PrintHelp();
        return 0;
    }
    if (run.settings.version) {
        printf("zobu4 %s\n", ZOBU_VERSION);
        return 0;
    }
    if (!run.settings.headless) {
        EventWaitCatchSignals(); // before anything slow: a quit during start-up is kept
    }
    char folder[4096];
    start_folder = getcwd(folder, sizeof folder) ? folder : "";
    run.script_path = FromStartFolder(run.settings.script);
    run.record_path = FromStartFolder(run.settings.record);
    StartInTheDataFolder();
    if (!KernelSetModuleResources(kEmbeddedModuleResources, kEmbeddedModuleResourcesSize, &error)) {
        fprintf(stderr, "zobu4: the program's own resources are damaged: %s\n", error.c_str());
        return 1;
    }
    if (!PrepareInput(&run)) {
        return 2;
    }
    const HostOps* host = OpenHost(&run);
    if (!host) {
        RecorderDiscard();
        return 1;
    }
    HostInstall(host);
    return Finish(run,
                  WinMain(GetModuleHandleA(nullptr), nullptr, run.rest.data(), SW_SHOWDEFAULT));
}
