// Zobu 4 platform floor: the SDL2 host.
#include "sdl_host.h"

#include "sdl_private.h"

#include "../png_file.h"
#include "../schedule.h"
#include "event_wait.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>

namespace {

constexpr unsigned kIconHand = 0x10; // MB_ICONHAND
// The real clock: SDL's milliseconds, moved so that it reads the start tick at the start.
uint64_t clock_offset_ms = 0;
// The game's clock, which the floor reads (see NowMs).
uint64_t game_now_ms = 0;
// A game that falls further behind than this was stopped (Ctrl+Z, a debugger, a machine
// that slept) rather than slow: it goes on from where it was, not racing through the
// timers it missed.
constexpr uint64_t kLongestLagMs = 1000;
// A script replayed in the window, on the game's clock.
EventSchedule script;
uint64_t (*test_clock)() = nullptr; // SdlHostSetClock

// The game's clock moves only while the program waits, as the headless host's does, so that
// a game played here is the game a recording of it replays headless.
//  - It never passes what is due next, a timer or a scripted event, without stopping there:
//    when the program falls behind, its clock falls behind with it rather than jump over a
//    tick that the headless clock would stop at, and catches up once the program is idle.
//  - Input from the player is taken only when the clock moves: as on Windows, where a key
//    that is queued is retrieved before a timer that is due, the input goes first at that
//    time, and a recording says so by that time alone. The clock moves by a millisecond at
//    least for it, so that the input never meets, at one reading, a timer the program has
//    already handled at that reading.
//  - A program stopped for more than kLongestLagMs goes on from where it stopped: the real
//    clock is moved back, which changes when the player's keys land, never the game's order.
//  - While the program works, the clock stands still: GetTickCount, a timer's arming and
//    the input's time all read the moment the program last woke.
uint64_t NowMs() {
    return game_now_ms;
}

// The floor waits here: the script's tasks due are done, the newest picture is shown, paced
// to the display's refresh, and SDL's events are waited for until the deadline. The game's
// clock then moves as NowMs says.
void WaitUntil(uint64_t deadline_ms) {
    for (;;) {
        script.RunIdleTasks(game_now_ms); // the program is idle: its snapshots, say
        const uint64_t stop = std::min(deadline_ms, script.NextAt());
        if (stop <= game_now_ms) {
            return;
        }
        uint64_t real = RealNowMs();
        InputDrain();
        if (InputWaiting()) {
            game_now_ms = std::max(game_now_ms + 1, std::min(real, stop));
            return;
        }
        if (real >= VideoNextShow()) {
            VideoShow(); // also when behind: the player sees the game go on
            real = RealNowMs();
        }
        if (real >= stop) {
            if (real - stop > kLongestLagMs) {
                clock_offset_ms -= real - stop; // stopped for long: go on from here
            }
            game_now_ms = stop;
            return;
        }
        const uint64_t wake = std::min({stop, InputNextRepeat(), VideoNextShow()});
        // The clock counts whole milliseconds, so a wait of exactly the difference may end
        // just short of the deadline and cost another: wait one more.
        const uint64_t wait = wake > real ? std::min<uint64_t>(wake - real + 1, 1000) : 0;
        SDL_Event e;
        if (EventWait(static_cast<int>(wait), &e)) {
            InputDrain(&e);
        }
    }
}

// Live input waits until the clock moves (WaitUntil); the script's is due by the clock.
bool PollInput(HostInput* input) {
    return InputTakeOldest(input) || script.TakeInput(game_now_ms, input);
}

int MessageBox(const char* text, const char* title, unsigned style) {
    const Uint32 flags = (style & kIconHand) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    if (SDL_ShowSimpleMessageBox(flags, title ? title : "", text ? text : "", VideoWindow()) != 0) {
        fprintf(stderr, "%s: %s\n", title ? title : "", text ? text : "");
    }
    return 1; // IDOK
}

void ShowCursor(bool visible) {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

const HostOps kSdlOps = {NowMs, WaitUntil, PollInput, VideoPresent, MessageBox, ShowCursor};

} // namespace

uint64_t RealNowMs() {
    return (test_clock ? test_clock() : SDL_GetTicks64()) + clock_offset_ms;
}

const HostOps* SdlHostOpen(const SdlOptions& options, std::string* error) {
    // Without a display the answer is known before SDL is asked, unless a video driver was
    // named (SDL_VIDEODRIVER): then SDL says whether it can open one.
    const char* x11 = getenv("DISPLAY");
    const char* wayland = getenv("WAYLAND_DISPLAY");
    const char* driver = getenv("SDL_VIDEODRIVER");
    if ((!x11 || !*x11) && (!wayland || !*wayland) && (!driver || !*driver)) {
        *error = "no display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
        return nullptr;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1"); // the host's own (event_wait.h)
    if (!options.gpu) {
        // The window's surface as the window system's own image (X11 shared memory), not a
        // texture drawn by OpenGL, which a machine without a graphics card runs on its CPU.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER) != 0) {
        *error = std::string("cannot open the display: ") + SDL_GetError();
        return nullptr;
    }
    if (!VideoOpen(options, error)) {
        SdlHostClose();
        return nullptr;
    }
    EventWaitOpen(VideoWindow());
    return &kSdlOps;
}

EventSchedule& SdlHostSchedule() {
    return script;
}

void SdlHostSnapshot(const std::string& path) {
    WriteSnapshotPng(path, VideoShown());
}

void SdlHostSetClock(uint64_t (*now)()) {
    test_clock = now;
}

void SdlHostStartTick(uint64_t tick) {
    clock_offset_ms = tick - (test_clock ? test_clock() : SDL_GetTicks64());
    game_now_ms = tick;
}

void SdlHostClose() {
    VideoClose();
    InputClear();
    script.Clear();
    EventWaitClose();
    SDL_Quit();
}
