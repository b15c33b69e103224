// Zobu 4 platform floor: the headless host, for tests, replays and benchmarks.
//
// No window. Two clocks:
//  - virtual (the default): time stands still until the program waits, then jumps straight
//    to the deadline or to the next scripted input. Minutes of game time pass in
//    milliseconds, and every run with the same script is the same run.
//  - real: the monotonic clock of the machine, with true sleeps; for timing benchmarks.
// Input comes from a script of timed events. When the program waits with no timer armed
// and nothing left in the script, the user is taken to have closed the program: a Close
// input is delivered, so that a finished script always ends the run.
#pragma once

#include "../host.h"
#include "../schedule.h"

#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

enum class HeadlessClock { Virtual, Real };

// The headless operations table, ready for HostInstall.
const HostOps* HeadlessHost();

// Puts the headless host back to its start: the given clock at start_ms (virtual) or at
// the machine's clock (real), and an empty script.
void HeadlessReset(HeadlessClock clock, uint64_t start_ms = 0);

// The script: what the launcher replays goes here (its holds repeat as they fall due).
EventSchedule& HeadlessSchedule();

// Adds a scripted input, delivered once the clock reaches at_ms. Events at the same time
// keep the order in which they were added.
void HeadlessScheduleInput(uint64_t at_ms, const HostInput& input);
void HeadlessScheduleKey(uint64_t at_ms, uint8_t virtual_key, bool down);
void HeadlessScheduleClose(uint64_t at_ms);
// Runs `task` once the program has handled everything due at or before at_ms, as a snapshot
// is taken: it sees the screen (HeadlessFrame) and the program as they stand then.
void HeadlessScheduleWhenIdle(uint64_t at_ms, std::function<void()> task);

// Another program takes the display at at_ms, as Alt+Tab does on Windows.
void HeadlessScheduleDisplayLost(uint64_t at_ms);

// Calls probe(context) once the program has handled everything due at or before at_ms, as
// a snapshot is taken: a soak test looks at the program's resources this way.
void HeadlessScheduleProbe(uint64_t at_ms, void (*probe)(void*), void* context);

// The pointer at (x, y) of the screen; with `button`, the left button going down or up.
void HeadlessScheduleMouse(uint64_t at_ms, int32_t x, int32_t y, bool button = false,
                           bool down = false);

// With `yes`, the user closes the program as soon as it waits with the script used up (its
// last event handled, its last snapshot taken), whether timers are armed or not: the end of a
// script is the end of the run. Without, only when no timer is armed either. Off after a
// reset.
void HeadlessCloseWhenScriptEnds(bool yes);

// How many times the screen was presented since the last reset.
uint64_t HeadlessPresentCount();

// What the last present said of each row: nonzero where it may have changed.
std::vector<uint8_t> HeadlessLastPresentRows();

// The style of the last message box since the last reset (0 for none), and whether the
// pointer is shown, as the program last asked (shown after a reset).
unsigned HeadlessMessageBoxStyle();
bool HeadlessCursorShown();

// The screen as it stands, from the last present: 640 x 480 pixels in 5:6:5, rows back to
// back; all black before the first present.
std::vector<uint16_t> HeadlessFrame();

// Moves the virtual clock forward without waiting on anything (a busy program that does not
// look at its queue). Ignored on the real clock.
void HeadlessAdvance(uint64_t delta_ms);
