// Zobu 4 platform floor: recordings. Every input the program takes, from whichever host, is
// written as a script line at the host's time when it was taken, after a first line "tick N"
// with the tick count the run started at: replayed, the same inputs meet the same timers in
// the same order, and the run is the same game. (The pointer is not written: scripts have
// no pointer, and the game does nothing with it.)
//
// The recording goes to a temporary file beside the one named, which takes the name only
// when the run ends: a file that was there stays whole until there is something to replace
// it with, and a run that crashes leaves it as it was.
#pragma once

#include "host.h"

#include <stdint.h>

#include <string>

// Starts a recording for `path`; false, with the reason, when its folder cannot be written.
bool RecorderOpen(const std::string& path, std::string* error);

// The table to install in place of `host`: the same host, with every input it hands over
// recorded, at times counted from start_tick. Call once, after RecorderOpen.
const HostOps* RecorderWrap(const HostOps* host, uint64_t start_tick);

// Ends the recording: the file takes its name. False, with the reason, when it could not be
// written whole; the file that was there, if any, is left as it was.
bool RecorderFinish(std::string* error);

// Drops the recording of a run that did not play (it could not start): the file that was
// there, if any, stays as it was.
void RecorderDiscard();
