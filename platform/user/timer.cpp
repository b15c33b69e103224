// Zobu 4 platform floor: window timers.
//
// A timer is a deadline, not a message: WM_TIMER is made when the queue is looked at and a
// timer is due, so a timer can never have more than one tick waiting, however long the
// program keeps away from its queue. Ticks keep the phase of the arming: a 50 ms timer
// armed at 0 and first looked at again at 260 ticks at 260, then at 300 and 350; the ticks
// that fell due in the meantime are dropped, not made up. Arming an id again, or killing
// it, replaces its deadline, and with it any tick that was already due.
#include "user_private.h"

#include "../host/host.h"

#include <algorithm>
#include <vector>

namespace {

struct Timer {
    HWND window = nullptr;
    UINT_PTR id = 0;
    uint64_t period_ms = 0;
    TIMERPROC procedure = nullptr;
    uint64_t due_ms = 0;
    uint64_t serial = 0; // arming order, to break ties between timers due at once
};

// Armed timers, in no particular order.
std::vector<Timer> timers;
// Counts armings.
uint64_t next_serial = 0;
// The next id tried for a timer that belongs to no window.
UINT_PTR next_thread_timer_id = 1;

Timer* Find(HWND window, UINT_PTR id) {
    for (Timer& t : timers) {
        if (t.window == window && t.id == id) {
            return &t;
        }
    }
    return nullptr;
}

// The first due timer that passes the filter, earliest deadline first.
Timer* EarliestDue(const MessageFilter& filter, uint64_t now_ms) {
    Timer* best = nullptr;
    for (Timer& t : timers) {
        if (t.due_ms <= now_ms && filter.Accepts(t.window, WM_TIMER) &&
            (!best || t.due_ms < best->due_ms ||
             (t.due_ms == best->due_ms && t.serial < best->serial))) {
            best = &t;
        }
    }
    return best;
}

} // namespace

bool TimerTakeDue(const MessageFilter& filter, uint64_t now_ms, bool remove, MSG* out) {
    Timer* t = EarliestDue(filter, now_ms);
    if (!t) {
        return false;
    }
    *out = {};
    out->hwnd = t->window;
    out->message = WM_TIMER;
    out->wParam = t->id;
    out->lParam = reinterpret_cast<LPARAM>(t->procedure);
    out->time = static_cast<DWORD>(now_ms);
    if (remove) {
        const uint64_t missed = (now_ms - t->due_ms) / t->period_ms;
        t->due_ms += (missed + 1) * t->period_ms;
    }
    return true;
}

uint64_t TimerNextDeadline(const MessageFilter& filter) {
    uint64_t deadline = kHostForever;
    for (const Timer& t : timers) {
        if (filter.Accepts(t.window, WM_TIMER)) {
            deadline = std::min(deadline, t.due_ms);
        }
    }
    return deadline;
}

bool TimerIsArmedWith(HWND window, UINT_PTR id, TIMERPROC procedure) {
    const Timer* t = Find(window, id);
    return t && t->procedure == procedure;
}

void TimersForgetWindow(HWND window) {
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [window](const Timer& t) { return t.window == window; }),
                 timers.end());
}

void TimersReset() {
    timers.clear();
    next_serial = 0;
    next_thread_timer_id = 1;
}

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse_ms, TIMERPROC procedure) {
    if (window && !WindowFromHandle(window)) {
        return 0;
    }
    // Windows raises periods below USER_TIMER_MINIMUM to it and lowers those above
    // USER_TIMER_MAXIMUM, rather than failing.
    const uint64_t period = std::clamp<uint64_t>(elapse_ms, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    if (!window && !Find(nullptr, id)) {
        // A timer of no window gets an id of the system's choosing, whatever was asked.
        while (Find(nullptr, next_thread_timer_id) || next_thread_timer_id == 0) {
            ++next_thread_timer_id;
        }
        id = next_thread_timer_id++;
    }
    Timer* t = Find(window, id);
    if (!t) {
        timers.push_back({});
        t = &timers.back();
        t->window = window;
        t->id = id;
    }
    t->period_ms = period;
    t->procedure = procedure;
    t->due_ms = Host().now_ms() + period;
    t->serial = next_serial++;
    // A window timer answers with the id it was given, a thread timer with the one chosen.
    return id;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) {
    Timer* t = Find(window, id);
    if (!t) {
        return FALSE;
    }
    timers.erase(timers.begin() + (t - timers.data()));
    return TRUE;
}
