// Zobu 4 platform floor: timed events that a host replays.
#include "schedule.h"

#include <utility>

void EventSchedule::Insert(Event e) {
    e.serial = ++added_;
    events_.insert(std::move(e));
}

void EventSchedule::AddInput(uint64_t at_ms, const HostInput& input, uint64_t order,
                             uint64_t held_until_ms) {
    Event e;
    e.at_ms = at_ms;
    e.order = order;
    e.input = input;
    e.held_until_ms = held_until_ms;
    e.down_ms = at_ms;
    Insert(std::move(e));
}

void EventSchedule::AddWhenIdle(uint64_t at_ms, std::function<void()> task, uint64_t order) {
    Event e;
    e.at_ms = at_ms;
    e.order = order;
    e.when_idle = std::move(task);
    Insert(std::move(e));
}

bool EventSchedule::TakeInput(uint64_t now_ms, HostInput* input) {
    for (auto it = events_.begin(); it != events_.end() && it->at_ms <= now_ms; ++it) {
        if (it->when_idle) {
            continue;
        }
        auto node = events_.extract(it);
        Event& taken = node.value();
        *input = taken.input;
        // Repeats are counted from the key's going down, so a late host does not shift them.
        const uint64_t next_ms =
            taken.down_ms + kKeyRepeatDelayMs + taken.repeats * kKeyRepeatPeriodMs;
        if (taken.input.kind == HostInputKind::Key && taken.input.down &&
            next_ms < taken.held_until_ms) {
            taken.at_ms = next_ms;
            taken.serial = ++added_;
            ++taken.repeats;
            events_.insert(std::move(node));
        }
        return true;
    }
    return false;
}

void EventSchedule::RunIdleTasks(uint64_t now_ms) {
    for (auto it = events_.begin(); it != events_.end() && it->at_ms <= now_ms;) {
        if (!it->when_idle) {
            ++it;
            continue;
        }
        const std::function<void()> task = std::move(events_.extract(it).value().when_idle);
        task();
        it = events_.begin(); // a task may add events
    }
}

uint64_t EventSchedule::NextAt() const {
    return events_.empty() ? kHostForever : events_.begin()->at_ms;
}
