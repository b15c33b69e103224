// Zobu 4 platform floor: timed events that a host replays (a script's keys, its snapshots),
// kept once for every host so that a script is the same game whichever host plays it.
//
// An input is handed over once the host's clock has reached its time; a task waits, in
// addition, until the program is idle with the clock there, so that it sees everything due
// by then handled (a snapshot shows the screen as the program left it). Inputs do not wait
// behind a task of the same time. Events at one time go by `order` (a script gives its
// line), then in the order they were added.
//
// A key held down repeats as the keyboard does (kKeyRepeatDelayMs, then every
// kKeyRepeatPeriodMs): the schedule makes each repeat when the one before it is taken, so a
// hold of an hour costs no more memory than a tap.
#pragma once

#include "host.h"

#include <stdint.h>

#include <functional>
#include <set>
#include <tuple>

class EventSchedule {
  public:
    // An input due at at_ms. A key going down with held_until_ms past at_ms repeats while the
    // repeats fall before held_until_ms (the key's coming up is an input of its own).
    void AddInput(uint64_t at_ms, const HostInput& input, uint64_t order = 0,
                  uint64_t held_until_ms = 0);

    // A task run by RunIdleTasks once at_ms has come.
    void AddWhenIdle(uint64_t at_ms, std::function<void()> task, uint64_t order = 0);

    // The earliest input due by now_ms, if any; a repeating key leaves its next repeat.
    bool TakeInput(uint64_t now_ms, HostInput* input);

    // Runs the tasks due by now_ms, earliest first. Called by a host when the program waits,
    // so everything due by now_ms has been handled. A task may add events.
    void RunIdleTasks(uint64_t now_ms);

    // The time of the earliest event; kHostForever when there is none.
    uint64_t NextAt() const;
    bool Empty() const { return events_.empty(); }
    void Clear() { events_.clear(); }

  private:
    struct Event {
        uint64_t at_ms = 0;
        uint64_t order = 0;
        uint64_t serial = 0; // adding order, the last tie-breaker
        HostInput input;
        uint64_t held_until_ms = 0;
        uint64_t down_ms = 0; // a held key: when it went down, and its repeats made so far
        uint64_t repeats = 0;
        std::function<void()> when_idle;
    };
    struct EarlierFirst {
        bool operator()(const Event& a, const Event& b) const {
            return std::tie(a.at_ms, a.order, a.serial) < std::tie(b.at_ms, b.order, b.serial);
        }
    };
    void Insert(Event e);

    // A set, so that a script of many keys held at once costs a logarithm a repeat.
    std::set<Event, EarlierFirst> events_;
    uint64_t added_ = 0;
};
