// Zobu 4 platform floor: how the SDL host sleeps until something happens.
#include "event_wait.h"

#include <SDL_syswm.h>

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

namespace {

#if defined(SDL_VIDEO_DRIVER_X11)
Display* x_display = nullptr; // SDL's own connection; null when the window is not on X11
#endif
int signal_pipe[2] = {-1, -1};
volatile sig_atomic_t signals_waiting = 0;

void OnSignal(int) {
    const int saved = errno;
    signals_waiting = 1;
    const char byte = 0;
    if (write(signal_pipe[1], &byte, 1) < 0) {
        // Full: a wake-up is already waiting in it.
    }
    errno = saved;
}

void DrainSignalPipe() {
    char bytes[64];
    while (signal_pipe[0] >= 0 && read(signal_pipe[0], bytes, sizeof bytes) > 0) {
    }
}

// Where SDL sleeps: the thread that wakes it when a signal comes, and the pipe that stops it.
std::thread watcher;
int stop_pipe[2] = {-1, -1};

void WatchSignals() {
    for (;;) {
        pollfd fds[2] = {{signal_pipe[0], POLLIN, 0}, {stop_pipe[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR) {
            return;
        }
        if (fds[1].revents) {
            return;
        }
        if (fds[0].revents) {
            DrainSignalPipe();
            SDL_Event wake = {};
            wake.type = SDL_USEREVENT;
            SDL_PushEvent(&wake);
        }
    }
}

bool WaitsOnX() {
#if defined(SDL_VIDEO_DRIVER_X11)
    return x_display != nullptr;
#else
    return false;
#endif
}

} // namespace

void EventWaitCatchSignals() {
    if (signal_pipe[0] >= 0) {
        return; // caught already
    }
    if (pipe2(signal_pipe, O_NONBLOCK | O_CLOEXEC) != 0) {
        signal_pipe[0] = signal_pipe[1] = -1;
    }
    for (int signal_number : {SIGINT, SIGTERM}) {
        // A signal the shell told us to ignore (a background job's SIGINT) stays ignored.
        struct sigaction before = {};
        if (sigaction(signal_number, nullptr, &before) != 0 || before.sa_handler != SIG_DFL) {
            continue;
        }
        struct sigaction action = {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND | SA_RESTART;
        sigaction(signal_number, &action, nullptr);
    }
}

void EventWaitOpen(SDL_Window* window) {
    EventWaitCatchSignals();
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
        x_display = info.info.x11.display;
    }
#else
    (void)window;
#endif
    if (!WaitsOnX() && signal_pipe[0] >= 0 && pipe2(stop_pipe, O_CLOEXEC) == 0) {
        watcher = std::thread(WatchSignals);
    }
}

bool EventWait(int timeout_ms, SDL_Event* event) {
    timeout_ms = std::clamp(timeout_ms, 0, 1000);
    if (SDL_NumJoysticks() > 0) {
        // A controller's events come from its own device, which SDL reads only when polled:
        // poll it as often as SDL's own wait would.
        timeout_ms = std::min(timeout_ms, 1);
    }
#if defined(SDL_VIDEO_DRIVER_X11)
    if (x_display) {
        // What the flush brings in, or SDL's last poll left in Xlib's queue, must not wait.
        if (XEventsQueued(x_display, QueuedAfterFlush) == 0 && !signals_waiting) {
            pollfd fds[2] = {{ConnectionNumber(x_display), POLLIN, 0}, {signal_pipe[0], POLLIN, 0}};
            poll(fds, 2, timeout_ms);
        }
        DrainSignalPipe();
        return false;
    }
#endif
    return !signals_waiting && SDL_WaitEventTimeout(event, timeout_ms) == 1;
}

bool EventWaitTakeSignal() {
    if (!signals_waiting) {
        return false;
    }
    signals_waiting = 0;
    return true;
}

void EventWaitClose() {
    if (watcher.joinable()) {
        const char byte = 0;
        if (write(stop_pipe[1], &byte, 1) == 1) {
            watcher.join();
        } else {
            watcher.detach(); // cannot happen with an empty pipe; never block the quit on it
        }
    }
    for (int& fd : stop_pipe) {
        if (fd >= 0) {
            close(fd);
            fd = -1;
        }
    }
    for (int signal_number : {SIGINT, SIGTERM}) {
        struct sigaction now = {};
        if (sigaction(signal_number, nullptr, &now) == 0 && now.sa_handler == OnSignal) {
            signal(signal_number, SIG_DFL);
        }
    }
    for (int& fd : signal_pipe) {
        if (fd >= 0) {
            close(fd);
            fd = -1;
        }
    }
#if defined(SDL_VIDEO_DRIVER_X11)
    x_display = nullptr;
#endif
}
