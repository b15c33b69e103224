// Zobu 4 platform floor: input scripts, the headless host's input and the format of
// recordings (which the SDL host writes). One event a line; '#' starts a comment; times are virtual
// milliseconds since WinMain started and never go back:
//
//   <ms> key NAME             a tap: the key down, and up again 1 ms later
//   <ms> down NAME            the key goes down (again, while down: an auto-repeat)
//   <ms> up NAME              the key goes up
//   <ms> hold NAME DURATION   down; auto-repeats after 500 ms, then every 33 ms; up at the end
//   <ms> close                the window's close button: WM_CLOSE to the main window
//   <ms> lose                 another program takes the display (Alt+Tab on Windows)
//   <ms> snapshot FILE        a PNG of the screen once everything due by then is handled
//
// NAME is a virtual key without its VK_ prefix, in any case: Left, Right, Up, Down, Space,
// Escape, Return, Tab, Backspace, Alt, Ctrl, Shift, F1 to F12, a letter or a digit.
//
// A recording's first line may be "tick N": the tick count the recorded run started at.
#pragma once

#include "host.h"
#include "schedule.h"
#include "virtual_keys.h"

#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

// No script needs more: an hour of play recorded key by key is a few hundred kilobytes.
constexpr size_t kScriptMaxBytes = 1 << 20;
// Nor a time or a hold past a day, which a headless replay plays through in minutes.
constexpr uint64_t kScriptLongestMs = uint64_t{24} * 60 * 60 * 1000;

struct ScriptEvent {
    enum class Kind { Down, Up, Close, Lost, Snapshot };
    uint64_t at_ms = 0;
    Kind kind = Kind::Down;
    uint8_t virtual_key = 0;    // Down and Up
    uint64_t held_until_ms = 0; // Down of a hold: it repeats, as the keyboard does, until then
    uint64_t line = 0;          // where it was written: events at one time go in the file's order
    std::string path;           // Snapshot
};

// The whole text of the script file at `path`. False, with the reason, when it cannot be
// read, or is larger than kScriptMaxBytes.
bool ReadScriptFile(const std::string& path, std::string* text, std::string* error);

// Reads a script into the events it makes, in time order: a tap is a key down and up, a hold
// a key down that repeats (see EventSchedule) and a key up. At most two events a line. False,
// with "line N: reason", for the first line that is not an event of the format.
bool ParseScript(const std::string& text, std::vector<ScriptEvent>* events, std::string* error);

// A tick count as --tick, a recording's "tick" line and the page's ?tick= write it: a whole
// number from 0 to 4294967295 (GetTickCount's range), in digits and nothing else.
bool ParseTick(const std::string& word, uint64_t* tick);

// The "tick" line of a script's text; false when the script has none.
bool ScriptStartTick(const std::string& text, uint64_t* tick);

// Reads and parses the script file at `path`, as a program's entry point does: its events,
// and the tick count its "tick" line names, if it has one (*has_tick). False, with the one
// line to say ("cannot read the script ...", or "PATH: line N: ...").
bool LoadScript(const std::string& path, std::vector<ScriptEvent>* events, bool* has_tick,
                uint64_t* tick, std::string* error);

// The host input a scripted key, close or loss stands for, whichever host replays it.
HostInput HostInputOf(const ScriptEvent& e);

// Puts a script's events on a host's schedule, their times counted from start_tick; a
// snapshot becomes a task that calls snapshot(path) once the program is idle then.
void ScheduleScript(const std::vector<ScriptEvent>& events, uint64_t start_tick,
                    EventSchedule* schedule,
                    const std::function<void(const std::string&)>& snapshot);
