// Zobu 4 platform floor: the Linux entry point. It reads the host's own options, sets the
// host up, and hands over to the game's WinMain, whose result is the exit status. The game
// itself reads no command line: what is left after the host's options is passed on as
// WinMain's command line, as Windows would pass it.
#ifdef _WIN32
#error "On Windows the program starts at WinMain itself; this file is for Linux."
#endif

#include <windows.h>

#include "headless/headless.h"
#include "host.h"
#include "script.h"
#include "sdl/sdl_host.h"
#include "kernel/embedded_resources.h"
#include "kernel/resources.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <vector>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

namespace {

// The host's options, each with its help. --help prints them, and the manual page is made
// from --help (help2man), so this table is the one place they are written.
struct Option {
    const char* name;
    const char* argument; // null for a flag
    const char* help;
};
const Option kOptions[] = {
    {"--windowed", nullptr, "play in a window rather than on the whole screen"},
    {"--scale", "N", "the window's scale (default: the largest that fits 80 % of the screen)"},
    {"--gpu", nullptr, "scale on the graphics card (OpenGL) rather than the processor"},
    {"--record", "FILE", "write every key and close, with its time, to FILE as a script"},
    {"--headless", nullptr, "run with no window: a virtual clock, scripted input, snapshots"},
    {"--script", "FILE", "take input from FILE too (one event a line: see Scripts)"},
    {"--tick", "N", "start the tick count at N (headless: 0, or the script's): it seeds the Pot"},
    {"--help", nullptr, "print this help and exit"},
    {"--version", nullptr, "print the version and exit"},
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
    "NAME: Left, Right, Up, Down, Space, Escape, Return, Tab, Alt, Ctrl, Shift, F1-F12,\n"
    "A-Z, 0-9.\n"
    "\n"
    "Exit status:\n"
    "  0   the game was quit: Escape, Alt+F4, the close button, SIGINT, SIGTERM, or\n"
    "      the end of a headless script\n"
    "  1   the game could not start; one line on standard error says why\n"
    "  2   a command line or script it cannot read\n"
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

// The game looks for its art in the current folder, as on Windows. Installed, it keeps the
// art in ../share/zobu4 beside its own folder; started where there is no Bitmaps folder (from
// a desktop's menu, or a shell anywhere), it plays from there, as a Windows shortcut's
// start-in folder would have it.
void StartInTheDataFolder() {
    struct stat info;
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

} // namespace

int main(int argc, char** argv) {
    bool headless = false, tick_given = false;
    std::string script_path;
    uint64_t tick = 0;
    SdlOptions sdl;
    std::string rest;
    char folder[4096];
    start_folder = getcwd(folder, sizeof folder) ? folder : "";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            PrintHelp();
            return 0;
        } else if (arg == "--version") {
            printf("zobu4 %s\n", ZOBU_VERSION);
            return 0;
        } else if (arg == "--headless") {
            headless = true;
        } else if (arg == "--windowed") {
            sdl.windowed = true;
        } else if (arg == "--gpu") {
            sdl.gpu = true;
        } else if (arg == "--script" || arg == "--tick" || arg == "--scale" || arg == "--record") {
            if (i + 1 >= argc) {
                return Refuse(arg + " needs a value; see --help");
            }
            const char* value = argv[++i];
            char* end = nullptr;
            if (arg == "--script") {
                script_path = FromStartFolder(value);
            } else if (arg == "--record") {
                sdl.record = FromStartFolder(value);
            } else if (arg == "--scale") {
                const long scale = strtol(value, &end, 10);
                if (*value < '1' || *value > '9' || *end != '\0' || scale > 16) {
                    return Refuse("--scale takes a whole number from 1 to 16");
                }
                sdl.scale = static_cast<int>(scale);
            } else {
                tick = strtoull(value, &end, 10);
                tick_given = true;
                if (*value < '0' || *value > '9' || *end != '\0' || tick > 0xFFFFFFFFu) {
                    return Refuse("--tick takes a whole number from 0 to 4294967295");
                }
            }
        } else {
            rest += (rest.empty() ? "" : " ") + arg;
        }
    }

    StartInTheDataFolder();
    std::string error;
    if (!KernelSetModuleResources(kEmbeddedModuleResources, kEmbeddedModuleResourcesSize, &error)) {
        fprintf(stderr, "zobu4: the program's own resources are damaged: %s\n", error.c_str());
        return 1;
    }
    std::vector<ScriptEvent> events;
    if (!script_path.empty()) {
        std::string text;
        if (!ReadScriptFile(script_path, &text)) {
            return Refuse("cannot read the script \"" + script_path + "\"");
        }
        if (!ParseScript(text, &events, &error)) {
            return Refuse(script_path + ": " + error);
        }
        for (ScriptEvent& e : events) {
            e.path = FromStartFolder(e.path); // snapshots go where the user ran the script
        }
        uint64_t recorded_tick = 0;
        if (!tick_given && ScriptStartTick(text, &recorded_tick)) {
            tick = recorded_tick; // a recording replays from the tick it started at
            tick_given = true;
        }
    }
    if (!headless) {
        const HostOps* ops = SdlHostOpen(sdl, &error);
        if (!ops) {
            fprintf(stderr, "zobu4: %s; run it with --headless to play without a display\n",
                    error.c_str());
            return 1;
        }
        HostInstall(ops);
        // A tick count that differs from run to run, as Windows' time since boot does: it
        // seeds the Pot's wandering. A replayed recording starts from its own.
        if (!tick_given) {
            tick = static_cast<uint64_t>(time(nullptr)) * 1000 % 0xFFFFFFFFu;
        }
        SdlHostStartTick(tick);
        for (const ScriptEvent& e : events) {
            SdlHostSchedule(tick + e.at_ms, HostInputOf(e), e.path);
        }
        const int status = WinMain(GetModuleHandleA(nullptr), nullptr, rest.data(), SW_SHOWDEFAULT);
        SdlHostClose();
        return status;
    }

    HeadlessReset(HeadlessClock::Virtual, tick);
    HostInstall(HeadlessHost());
    for (const ScriptEvent& e : events) {
        if (e.kind == ScriptEvent::Kind::Snapshot) {
            HeadlessScheduleSnapshot(tick + e.at_ms, e.path);
        } else {
            HeadlessScheduleInput(tick + e.at_ms, HostInputOf(e));
        }
    }
    // A script that ends with the game still running ends with the close button.
    HeadlessCloseWhenScriptEnds(true);
    return WinMain(GetModuleHandleA(nullptr), nullptr, rest.data(), SW_SHOWDEFAULT);
}
