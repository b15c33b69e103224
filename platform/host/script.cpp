// Zobu 4 platform floor: reading input scripts.
#include "script.h"

#include <windows.h>

#include <strings.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

// Windows' auto-repeat at its default settings: the first repeat after half a second, then
// about 30 a second.
constexpr uint64_t kRepeatDelayMs = 500;
constexpr uint64_t kRepeatPeriodMs = 33;

// A whole number of milliseconds, and nothing else.
bool ParseMs(const std::string& word, uint64_t* out) {
    if (word.empty() || word.size() > 15 ||
        !std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    *out = std::stoull(word);
    return true;
}

} // namespace

uint8_t VirtualKeyFromName(const std::string& name) {
    struct Named {
        const char* name;
        uint8_t key;
    };
    static const Named names[] = {
        {"Left", VK_LEFT},   {"Right", VK_RIGHT},   {"Up", VK_UP},         {"Down", VK_DOWN},
        {"Space", VK_SPACE}, {"Escape", VK_ESCAPE}, {"Return", VK_RETURN}, {"Tab", VK_TAB},
        {"Alt", VK_MENU},    {"Ctrl", VK_CONTROL},  {"Shift", VK_SHIFT},
    };
    for (const Named& n : names) {
        if (strcasecmp(n.name, name.c_str()) == 0) {
            return n.key;
        }
    }
    if (name.size() == 1 && isalnum(static_cast<unsigned char>(name[0]))) {
        return static_cast<uint8_t>(toupper(static_cast<unsigned char>(name[0])));
    }
    if (name.size() >= 2 && name.size() <= 3 && (name[0] == 'F' || name[0] == 'f')) {
        uint64_t n = 0;
        if (ParseMs(name.substr(1), &n) && n >= 1 && n <= 12) {
            return static_cast<uint8_t>(VK_F1 + n - 1);
        }
    }
    return 0;
}

std::string NameFromVirtualKey(uint8_t key) {
    static const char* const named[] = {"Left",   "Right", "Up",  "Down", "Space", "Escape",
                                        "Return", "Tab",   "Alt", "Ctrl", "Shift"};
    for (const char* name : named) {
        if (VirtualKeyFromName(name) == key) {
            return name;
        }
    }
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        return std::string(1, static_cast<char>(key));
    }
    if (key >= VK_F1 && key < VK_F1 + 12) {
        return "F" + std::to_string(key - VK_F1 + 1);
    }
    return "";
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
        return first == "tick" && (words >> value) && !(words >> extra) && ParseMs(value, tick);
    }
    return false;
}

bool ParseScript(const std::string& text, std::vector<ScriptEvent>* events, std::string* error) {
    events->clear();
    std::istringstream lines(text);
    std::string line;
    uint64_t previous_ms = 0;
    for (int number = 1; std::getline(lines, line); ++number) {
        auto fail = [&](const std::string& reason) {
            *error = "line " + std::to_string(number) + ": " + reason;
            events->clear();
            return false;
        };
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
            if (w.size() != 2 || !ParseMs(w[1], &tick)) {
                return fail("\"tick\" takes the tick count the run started at");
            }
            continue; // the recorded run's start: ScriptStartTick reads it
        }
        uint64_t at = 0;
        if (!ParseMs(w[0], &at)) {
            return fail("\"" + w[0] + "\" is not a time in milliseconds");
        }
        if (at < previous_ms) {
            return fail("time " + w[0] + " goes back before " + std::to_string(previous_ms));
        }
        previous_ms = at;
        const std::string verb = w.size() > 1 ? w[1] : "";
        auto key = [&](size_t index, uint8_t* vk) {
            if (w.size() <= index) {
                return fail("\"" + verb + "\" needs a key name");
            }
            *vk = VirtualKeyFromName(w[index]);
            return *vk != 0 || fail("unknown key \"" + w[index] + "\"");
        };
        auto words_are = [&](size_t n) {
            return w.size() == n || fail("\"" + verb + "\" takes " + std::to_string(n - 2) +
                                         " argument" + (n == 3 ? "" : "s"));
        };
        ScriptEvent e;
        e.at_ms = at;
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
                return fail("\"" + w[3] + "\" is not a duration in milliseconds");
            }
            e.virtual_key = vk;
            events->push_back(e);
            for (uint64_t t = kRepeatDelayMs; t < duration; t += kRepeatPeriodMs) {
                e.at_ms = at + t;
                events->push_back(e);
            }
            e.kind = ScriptEvent::Kind::Up;
            e.at_ms = at + duration;
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
                                     : "unknown event \"" + verb + "\"");
        }
    }
    // Holds and taps spell out events past their line's time: put them in time order,
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

bool ReadScriptFile(const std::string& path, std::string* text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    *text = content.str();
    return true;
}
