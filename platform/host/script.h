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
// Escape, Return, Tab, Alt, Ctrl, Shift, F1 to F12, a letter or a digit.
#pragma once

#include "host.h"

#include <stdint.h>

#include <string>
#include <vector>

struct ScriptEvent {
    enum class Kind { Down, Up, Close, Lost, Snapshot };
    uint64_t at_ms = 0;
    Kind kind = Kind::Down;
    uint8_t virtual_key = 0; // Down and Up
    std::string path;        // Snapshot
};

// The whole text of the script file at `path`; false when it cannot be read.
bool ReadScriptFile(const std::string& path, std::string* text);

// Reads a script into the events it makes, taps and holds spelt out, in time order. False,
// with "line N: reason", for the first line that is not an event of the format.
bool ParseScript(const std::string& text, std::vector<ScriptEvent>* events, std::string* error);

// The virtual key a NAME stands for; 0 when it is none we know.
uint8_t VirtualKeyFromName(const std::string& name);

// The NAME of a virtual key, for a recording; empty for a key scripts cannot name.
std::string NameFromVirtualKey(uint8_t virtual_key);

// A recording's first line may be "tick N": the tick count the recorded run started at.
// Reads it from a script's text; false when the script has none.
bool ScriptStartTick(const std::string& text, uint64_t* tick);

// The host input a scripted key, close or loss stands for, whichever host replays it.
HostInput HostInputOf(const ScriptEvent& e);
