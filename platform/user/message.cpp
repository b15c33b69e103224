// Zobu 4 platform floor: the message queue.
//
// One thread, one queue. GetMessageA and PeekMessageA look for a message in the order
// Windows uses, taking the first kind that has one that passes the filter:
//   1. sent messages: here SendMessageA calls the window procedure at once, since every
//      sender is on the queue's own thread, so none ever waits in the queue;
//   2. posted messages, oldest first;
//   3. WM_QUIT, once PostQuitMessage was called and no posted message is left (Windows
//      delivers it whatever the filter says);
//   4. input: key events taken from the host, cooked into keyboard messages for the focus;
//   5. WM_PAINT, for a visible window with something to paint; it stays until painted;
//   6. WM_TIMER, for a timer that is due; at most one tick of each timer is ever pending.
// When nothing is there, GetMessageA has the host wait until the next timer falls due or
// input arrives, then looks again. It never spins.
#include "user_private.h"

#include "../display/display.h"
#include "../host/host.h"

#include <algorithm>
#include <deque>

namespace {

// A key or close request taken from the host, not yet retrieved as a message.
struct PendingInput {
    HostInput input;
    DWORD time = 0;
};

// Messages posted with PostMessageA, oldest first.
std::deque<MSG> posted;
// Input taken from the host, oldest first.
std::deque<PendingInput> input_queue;
// Set by PostQuitMessage until WM_QUIT is retrieved.
bool quit_posted = false;
int quit_code = 0;

// Drains the host's input. A close request becomes WM_CLOSE posted to the main window
// (WM_QUIT when there is no window), as the window's close button does on Windows.
void TakeHostInput() {
    HostInput input;
    while (Host().poll_input(&input)) {
        if (input.kind == HostInputKind::Lost) {
            // The display's memory goes with it: surfaces in display memory lose their
            // pixels, and the program finds out when it next draws. The windows' pixels go
            // too, so every window is to be painted again, as Windows repaints them all when
            // the program gets the display back.
            DisplayLost();
            RepaintAllWindows();
            continue;
        }
        if (input.kind == HostInputKind::Close) {
            const HWND main = MainWindowForClose();
            if (main) {
                PostMessageA(main, WM_CLOSE, 0, 0);
            } else {
                PostQuitMessage(0);
            }
            continue;
        }
        input_queue.push_back({input, GetTickCount()});
    }
}

// The message an input makes; with `commit`, as it is retrieved.
bool Cook(const HostInput& input, bool commit, MSG* out) {
    if (input.kind == HostInputKind::Mouse) {
        return MouseCookEvent(input, commit, out);
    }
    return KeyboardCookEvent(input.virtual_key, input.down, commit, out);
}

bool TakePosted(const MessageFilter& filter, bool remove, MSG* out) {
    for (auto it = posted.begin(); it != posted.end(); ++it) {
        if (filter.Accepts(it->hwnd, it->message)) {
            *out = *it;
            if (remove) {
                posted.erase(it);
            }
            return true;
        }
    }
    return false;
}

// Only the oldest input is considered: a filter that it does not pass sees no input at all.
bool TakeInput(const MessageFilter& filter, bool remove, MSG* out) {
    while (!input_queue.empty()) {
        const PendingInput pending = input_queue.front();
        MSG cooked = {};
        if (!Cook(pending.input, false, &cooked)) {
            input_queue.pop_front(); // no window to take it: dropped
            continue;
        }
        if (!filter.Accepts(cooked.hwnd, cooked.message)) {
            return false;
        }
        if (remove) {
            Cook(pending.input, true, &cooked);
            input_queue.pop_front();
        }
        cooked.time = pending.time;
        *out = cooked;
        return true;
    }
    return false;
}

bool Retrieve(const MessageFilter& filter, bool remove, MSG* out) {
    TakeHostInput();
    if (TakePosted(filter, remove, out)) {
        return true;
    }
    if (quit_posted) {
        *out = {};
        out->message = WM_QUIT;
        out->wParam = static_cast<WPARAM>(quit_code);
        out->time = GetTickCount();
        if (remove) {
            quit_posted = false;
        }
        return true;
    }
    if (TakeInput(filter, remove, out)) {
        return true;
    }
    if (HWND paint = FindWindowToPaint(filter)) {
        *out = {};
        out->hwnd = paint;
        out->message = WM_PAINT;
        out->time = GetTickCount();
        return true;
    }
    const uint64_t now = Host().now_ms();
    return TimerTakeDue(filter, now, remove, out) || CaretTakeDue(filter, now, remove, out);
}

} // namespace

void QueueForgetWindow(HWND window) {
    for (auto it = posted.begin(); it != posted.end();) {
        it = it->hwnd == window ? posted.erase(it) : it + 1;
    }
}

void QueueReset() {
    posted.clear();
    input_queue.clear();
    quit_posted = false;
    quit_code = 0;
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !WindowFromHandle(window)) {
        return FALSE;
    }
    MSG msg = {};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    posted.push_back(msg);
    return TRUE;
}

VOID WINAPI PostQuitMessage(int exitCode) {
    quit_posted = true;
    quit_code = exitCode;
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
    const MessageFilter filter{window, filterMin, filterMax};
    MSG found = {};
    if (!msg || !Retrieve(filter, (remove & PM_REMOVE) != 0, &found)) {
        return FALSE;
    }
    *msg = found;
    return TRUE;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
    if (!msg || (window && window != reinterpret_cast<HWND>(-1) && !WindowFromHandle(window))) {
        return -1;
    }
    const MessageFilter filter{window, filterMin, filterMax};
    while (!Retrieve(filter, true, msg)) {
        Host().wait_until(std::min(TimerNextDeadline(filter), CaretNextDeadline(filter)));
    }
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (!msg) {
        return 0;
    }
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        // Only the procedure of a timer that is really armed is called: a WM_TIMER posted
        // by anyone with an arbitrary lParam must not become a jump to that address.
        const auto procedure = reinterpret_cast<TIMERPROC>(msg->lParam);
        if (TimerIsArmedWith(msg->hwnd, msg->wParam, procedure)) {
            procedure(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        }
        return 0;
    }
    if (msg->message == kSysTimer) {
        CaretBlink(msg->hwnd, msg->wParam);
        return 0;
    }
    Window* w = WindowFromHandle(msg->hwnd);
    if (!w || !w->procedure) {
        return 0;
    }
    // A procedure that leaves WM_PAINT unanswered (no BeginPaint, no ValidateRect) gets it
    // again, as on Windows: a window with something to paint is sent WM_PAINT until it is
    // painted or validated.
    return w->procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendTo(window, message, wParam, lParam);
}
