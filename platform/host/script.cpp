// Zobu 4 platform floor: reading input scripts.
#include "script.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <sstream>

namespace {

// A whole number of milliseconds, and nothing else. Fifteen digits is some thirty thousand
// years: a tick count added to it cannot overflow.
bool ParseMs(const std::string& word, uint64_t* out) {
    if (word.empty() || word.size() > 15 ||
        !std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    *out = std::stoull(word);
    return true;
}

// A word of the script as an error quotes it: cut short, so that a line of megabytes does
// not become a message of megabytes.
std::string Quote(const std::string& word) {
    constexpr size_t kLongest = 32;
    return "\"" + (word.size() <= kLongest ? word : word.substr(0, kLongest) + "...") + "\"";
}

} // namespace

bool ParseTick(const std::string& word, uint64_t* tick) {
    uint64_t value = 0;
    if (word.size() > 10 || !ParseMs(word, &value) || value > 0xFFFFFFFFu) {
        return false;
    }
    *tick = value;
    return true;
}

bool ScriptStartTick(const std::string& text, uint64_t* tick) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string first, value, extra;
        if (!(words >> first)) {
            continue; // blank or a comment
        }
        return first == "tick" && (words >> value) && !(words >> extra) && ParseTick(value, tick);
    }
    return false;
}

bool ParseScript(const std::string& text, std::vector<ScriptEvent>* events, std::string* error) {
    events->clear();
    std::istringstream lines(text);
    std::string line;
    uint64_t previous_ms = 0;
    for (uint64_t number = 1; std::getline(lines, line); ++number) {
        auto fail = [&](const std::string& reason) {
            *error = "line " + std::to_string(number) + ": " + reason;
            events->clear();
            return false;
        };
        // A NUL would end a key name or a file name early wherever it is read as C text.
        if (line.find('\0') != std::string::npos) {
            return fail("a NUL byte");
        }
        const size_t comment = line.find('#');
        std::istringstream words(line.substr(0, comment));
        std::vector<std::string> w;
        for (std::string word; words >> word;) {
            w.push_back(word);
        }
        if (w.empty()) {
            continue;
        }
        if (w[0] == "tick" && events->empty() && previous_ms == 0) {
            uint64_t tick = 0;
            if (w.size() != 2 || !ParseTick(w[1], &tick)) {
                return fail("\"tick\" takes the tick count the run started at, 0 to 4294967295");
            }
            continue; // the recorded run's start: ScriptStartTick reads it
        }
        uint64_t at = 0;
        if (!ParseMs(w[0], &at)) {
            return fail(Quote(w[0]) + " is not a time in milliseconds");
        }
        if (at > kScriptLongestMs) {
            return fail("time " + w[0] + " is past a day (86400000 ms)");
        }
        if (at < previous_ms) {
            return fail("time " + w[0] + " goes back before " + std::to_string(previous_ms));
        }
        previous_ms = at;
        const std::string verb = w.size() > 1 ? w[1] : "";
        auto key = [&](size_t index, uint8_t* vk) {
            if (w.size() <= index) {
                return fail(Quote(verb) + " needs a key name");
            }
            *vk = VirtualKeyFromName(w[index]);
            return *vk != 0 || fail("unknown key " + Quote(w[index]));
        };
        auto words_are = [&](size_t n) {
            return w.size() == n || fail(Quote(verb) + " takes " + std::to_string(n - 2) +
                                         " argument" + (n == 3 ? "" : "s"));
        };
        ScriptEvent e;
        e.at_ms = at;
        e.line = number;
        uint8_t vk = 0;
        if (verb == "key" || verb == "down" || verb == "up") {
            if (!words_are(3) || !key(2, &vk)) {
                return false;
            }
            e.virtual_key = vk;
            e.kind = verb == "up" ? ScriptEvent::Kind::Up : ScriptEvent::Kind::Down;
            events->push_back(e);
            if (verb == "key") {
                e.kind = ScriptEvent::Kind::Up;
                e.at_ms = at + 1;
                events->push_back(e);
            }
        } else if (verb == "hold") {
            uint64_t duration = 0;
            if (!words_are(4) || !key(2, &vk)) {
                return false;
            }
            if (!ParseMs(w[3], &duration)) {
                return fail(Quote(w[3]) + " is not a duration in milliseconds");
            }
            if (duration > kScriptLongestMs) {
                return fail("a hold of " + w[3] + " ms is longer than a day (86400000 ms)");
            }
            e.virtual_key = vk;
            e.held_until_ms = at + duration;
            events->push_back(e);
            e.kind = ScriptEvent::Kind::Up;
            e.at_ms = at + duration;
            e.held_until_ms = 0;
            events->push_back(e);
        } else if (verb == "close" || verb == "lose") {
            if (!words_are(2)) {
                return false;
            }
            e.kind = verb == "close" ? ScriptEvent::Kind::Close : ScriptEvent::Kind::Lost;
            events->push_back(e);
        } else if (verb == "snapshot") {
            if (!words_are(3)) {
                return false;
            }
            e.kind = ScriptEvent::Kind::Snapshot;
            e.path = w[2];
            events->push_back(e);
        } else {
            return fail(verb.empty() ? "an event needs a verb after its time"
                                     : "unknown event " + Quote(verb));
        }
    }
    // A tap's or a hold's key comes up after its line's time: put them in time order,
    // keeping the file's order among equal times.
    std::stable_sort(events->begin(), events->end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.at_ms < b.at_ms; });
    return true;
}

HostInput HostInputOf(const ScriptEvent& e) {
    HostInput input;
    input.virtual_key = e.virtual_key;
    input.down = e.kind == ScriptEvent::Kind::Down;
    if (e.kind == ScriptEvent::Kind::Close) {
        input.kind = HostInputKind::Close;
    } else if (e.kind == ScriptEvent::Kind::Lost) {
        input.kind = HostInputKind::Lost;
    }
    return input;
}

void ScheduleScript(const std::vector<ScriptEvent>& events, uint64_t start_tick,
                    EventSchedule* schedule,
                    const std::function<void(const std::string&)>& snapshot) {
    for (const ScriptEvent& e : events) {
        if (e.kind == ScriptEvent::Kind::Snapshot) {
            const std::string path = e.path;
            schedule->AddWhenIdle(
                start_tick + e.at_ms, [snapshot, path] { snapshot(path); }, e.line);
        } else {
            schedule->AddInput(start_tick + e.at_ms, HostInputOf(e), e.line,
                               e.held_until_ms ? start_tick + e.held_until_ms : 0);
        }
    }
}

bool ReadScriptFile(const std::string& path, std::string* text, std::string* error) {
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) {
        *error = strerror(errno);
        return false;
    }
    // Read one byte past the bound: a file (or a device, or a pipe) that has it is too large.
    text->assign(kScriptMaxBytes + 1, '\0');
    const size_t got = fread(&(*text)[0], 1, text->size(), file);
    const bool failed = ferror(file) != 0;
    const int failure = errno;
    fclose(file);
    text->resize(got);
    if (failed) {
        *error = strerror(failure); // a folder: "Is a directory"
        return false;
    }
    if (got > kScriptMaxBytes) {
        *error = "larger than any script needs (1 MiB at most)";
        return false;
    }
    return true;
}

bool LoadScript(const std::string& path, std::vector<ScriptEvent>* events, bool* has_tick,
                uint64_t* tick, std::string* error) {
    std::string text, why;
    if (!ReadScriptFile(path, &text, &why)) {
        *error = "cannot read the script \"" + path + "\": " + why;
        return false;
    }
    if (!ParseScript(text, events, &why)) {
        *error = path + ": " + why;
        return false;
    }
    *has_tick = ScriptStartTick(text, tick);
    return true;
}
