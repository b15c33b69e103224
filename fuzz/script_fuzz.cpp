// libFuzzer target: the script reader, and the schedule that plays what it read.
#include "host/schedule.h"
#include "host/script.h"

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<ScriptEvent> events;
    std::string error;
    uint64_t tick = 0;
    if (ScriptStartTick(text, &tick) && tick > 0xFFFFFFFFu) {
        __builtin_trap();
    }
    if (!ParseScript(text, &events, &error)) {
        // One short line that names the line at fault, and nothing half read.
        if (error.compare(0, 5, "line ") != 0 || error.size() > 160 || !events.empty()) {
            __builtin_trap();
        }
        return 0;
    }
    size_t lines = 1;
    for (char c : text) {
        lines += c == '\n';
    }
    // At most a key down and up a line: a hold's repeats are not spelt out.
    if (events.size() > 2 * lines) {
        __builtin_trap();
    }
    uint64_t previous_ms = 0;
    for (const ScriptEvent& e : events) {
        const bool key = e.kind == ScriptEvent::Kind::Down || e.kind == ScriptEvent::Kind::Up;
        if (e.at_ms < previous_ms || e.at_ms > 2 * kScriptLongestMs || (key && !e.virtual_key) ||
            e.path.find('\0') != std::string::npos) {
            __builtin_trap();
        }
        previous_ms = e.at_ms;
    }
    // Played on a clock that jumps to each event: none comes before the one before it, and
    // a held key's repeats come one at a time, each later than the last.
    EventSchedule schedule;
    ScheduleScript(events, 0xFFFFFFFFu, &schedule, [](const std::string&) {});
    uint64_t now = 0;
    HostInput input;
    for (int steps = 0; steps < 2000 && !schedule.Empty(); ++steps) {
        if (schedule.NextAt() < now) {
            __builtin_trap();
        }
        now = schedule.NextAt();
        schedule.RunIdleTasks(now);
        for (size_t taken = 0; schedule.TakeInput(now, &input); ++taken) {
            if (taken > events.size()) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
