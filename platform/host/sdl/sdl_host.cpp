// Zobu 4 platform floor: the SDL2 host.
#include "sdl_host.h"

#include "../changed_rects.h"
#include "../png_file.h"
#include "../schedule.h"
#include "../virtual_keys.h"
#include "event_wait.h"
#include "gamepad.h"

#include <SDL.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <algorithm>
#include <deque>
#include <vector>

namespace {

constexpr int kWidth = kScreenWidth, kHeight = kScreenHeight;
constexpr unsigned kIconHand = 0x10; // MB_ICONHAND

// The window; with --gpu, its renderer and the texture the screen is shown through; else the
// picture as an SDL surface, scaled into the window's own surface.
SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;
SDL_Texture* texture = nullptr;
SDL_Surface* picture = nullptr;
// Where the picture lies in the window, and how many window pixels a pixel takes.
int picture_x = 0, picture_y = 0, picture_scale = 1;
// The screen's memory, as the last present gave it; the picture shown, to find what changed.
const uint16_t* screen_pixels = nullptr;
int screen_pitch_bytes = 0;
std::vector<uint16_t> shown(kWidth* kHeight, 0);
bool picture_waiting = false; // presented, not yet shown
// A byte a row: nonzero where the presents since the last picture shown may have changed it.
std::vector<uint8_t> rows_changed(kHeight, 1);
bool everything_stale = true; // the window lost what it showed: send all of it
uint64_t last_shown_ms = 0;   // on the real clock
uint64_t refresh_ms = 16;
// The real clock: SDL's milliseconds, moved so that it reads the start tick at the start.
uint64_t clock_offset_ms = 0;
// The game's clock, which the floor reads (see NowMs).
uint64_t game_now_ms = 0;
// A game that falls further behind than this was stopped (Ctrl+Z, a debugger, a machine
// that slept) rather than slow: it goes on from where it was, not racing through the
// timers it missed.
constexpr uint64_t kLongestLagMs = 1000;
// Input taken from SDL, not yet handed to the floor.
std::deque<HostInput> pending;
// A script replayed in the window, on the game's clock.
EventSchedule script;
// Controllers, whose buttons and stick are keys too.
Gamepads gamepads;
// The measuring switches (sdl_host.h), and what they measure.
bool stats = false;
bool full_upload = false;
double first_picture_s = 0;      // CLOCK_MONOTONIC when the first picture was shown
std::deque<uint32_t> key_stamps; // SDL's times of keyboard key-downs, not yet handed on
std::deque<uint32_t> keys_taken; // those handed to the floor, not yet shown
std::vector<uint32_t> key_to_screen_ms;
uint64_t pictures = 0, pixels_sent = 0;

uint64_t (*test_clock)() = nullptr; // SdlHostSetClock

uint64_t RealNowMs() {
    return (test_clock ? test_clock() : SDL_GetTicks64()) + clock_offset_ms;
}

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

void ToggleFullScreen() {
    const bool full = SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_SetWindowFullscreen(window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    everything_stale = picture_waiting = true;
}

// Turns what SDL reports into the floor's input.
void Take(const SDL_Event& e) {
    HostInput input;
    if (gamepads.Take(e, RealNowMs(), &pending)) {
        return;
    }
    switch (e.type) {
    case SDL_QUIT: // the window's close button
        input.kind = HostInputKind::Close;
        pending.push_back(input);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const bool down = e.type == SDL_KEYDOWN;
        // Alt+Enter is the host's own: full screen or window, whatever the game is doing.
        if (down && e.key.keysym.scancode == SDL_SCANCODE_RETURN && (e.key.keysym.mod & KMOD_ALT)) {
            if (!e.key.repeat) {
                ToggleFullScreen();
            }
            break;
        }
        input.virtual_key = VirtualKeyFromUsage(e.key.keysym.scancode); // by its place
        if (input.virtual_key == 0) {
            break;
        }
        input.down = down;
        if (down && stats) {
            key_stamps.push_back(e.key.timestamp);
        }
        pending.push_back(input);
        break;
    }
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        // The renderer's logical size maps the window's points onto the 640 x 480 screen.
        const bool button = e.type != SDL_MOUSEMOTION;
        if (button && e.button.button != SDL_BUTTON_LEFT) {
            break;
        }
        input.kind = HostInputKind::Mouse;
        input.button = button;
        input.down = e.type == SDL_MOUSEBUTTONDOWN;
        input.x = button ? e.button.x : e.motion.x;
        input.y = button ? e.button.y : e.motion.y;
        if (!renderer) { // the renderer's logical size maps them already
            input.x = (input.x - picture_x) / picture_scale;
            input.y = (input.y - picture_y) / picture_scale;
        }
        pending.push_back(input);
        break;
    }
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
            e.window.event == SDL_WINDOWEVENT_RESTORED ||
            e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            everything_stale = picture_waiting = true; // show the picture again at once
        }
        break;
    default:
        break;
    }
}

// Takes what SDL, the signals and the controllers have for the program.
void Drain() {
    // One pump a drain: each reads the X connection and looks for controllers plugged in,
    // and SDL_PollEvent would pump again for every event and once more at the end.
    SDL_PumpEvents();
    SDL_Event e;
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        Take(e);
    }
    if (EventWaitTakeSignal()) { // SIGINT or SIGTERM
        HostInput close;
        close.kind = HostInputKind::Close;
        pending.push_back(close);
    }
    gamepads.Repeat(RealNowMs(), &pending);
}

// The CPU path: scales the changed rectangles of the picture into the window's surface, a
// whole number of window pixels to each pixel, centred, and hands the window system just
// those (all of the window, black bars included, when it lost what it showed).
void ShowRects(const std::vector<ChangedRect>& rects) {
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (!target) {
        return;
    }
    picture_scale = std::max(1, std::min(target->w / kWidth, target->h / kHeight));
    picture_x = (target->w - kWidth * picture_scale) / 2;
    picture_y = (target->h - kHeight * picture_scale) / 2;
    if (everything_stale) {
        SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
    }
    std::vector<SDL_Rect> sent;
    for (const ChangedRect& r : rects) {
        SDL_Rect from = {r.x, r.y, r.width, r.height};
        SDL_Rect to = {picture_x + r.x * picture_scale, picture_y + r.y * picture_scale,
                       r.width * picture_scale, r.height * picture_scale};
        SDL_BlitScaled(picture, &from, target, &to);
        sent.push_back(to);
    }
    if (everything_stale) {
        SDL_UpdateWindowSurface(window);
    } else if (!sent.empty()) {
        SDL_UpdateWindowSurfaceRects(window, sent.data(), static_cast<int>(sent.size()));
    }
}

// Sends what changed since the picture last shown, and shows it.
void Show() {
    picture_waiting = false;
    last_shown_ms = RealNowMs();
    if (screen_pixels) {
        std::vector<ChangedRect> rects;
        if (everything_stale || full_upload) {
            CopyScreen(screen_pixels, screen_pitch_bytes, shown.data());
            rects = {{0, 0, kWidth, kHeight}};
        } else {
            rects = TakeChangedRects(screen_pixels, screen_pitch_bytes, shown.data(), kWidth,
                                     kHeight, rows_changed.data());
        }
        std::fill(rows_changed.begin(), rows_changed.end(), 0);
        for (const ChangedRect& r : rects) {
            pixels_sent += static_cast<uint64_t>(r.width) * static_cast<uint64_t>(r.height);
            if (renderer) {
                const SDL_Rect area = {r.x, r.y, r.width, r.height};
                SDL_UpdateTexture(texture, &area, &shown[static_cast<size_t>(r.y) * kWidth + r.x],
                                  kWidth * static_cast<int>(sizeof(uint16_t)));
            }
        }
        if (!renderer) {
            ShowRects(rects);
        }
    }
    everything_stale = false;
    if (renderer) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
    }
    if (stats) {
        ++pictures;
        if (first_picture_s == 0) {
            timespec t;
            clock_gettime(CLOCK_MONOTONIC, &t);
            first_picture_s = static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
        }
        const uint32_t now = SDL_GetTicks();
        for (uint32_t taken : keys_taken) {
            key_to_screen_ms.push_back(now - taken);
        }
        keys_taken.clear();
    }
}

void ReportStats() {
    std::vector<uint32_t> ms = key_to_screen_ms;
    std::sort(ms.begin(), ms.end());
    auto at = [&](size_t percent) { return ms.empty() ? 0u : ms[(ms.size() - 1) * percent / 100]; };
    fprintf(stderr,
            "zobu4 stats: first picture at %.4f s; key-to-screen over %zu keys: median %u ms, "
            "90th %u ms, max %u ms; %llu pictures, %llu pixels sent; refresh %llu ms\n",
            first_picture_s, ms.size(), at(50), at(90), at(100),
            static_cast<unsigned long long>(pictures), static_cast<unsigned long long>(pixels_sent),
            static_cast<unsigned long long>(refresh_ms));
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
        Drain();
        if (!pending.empty()) {
            game_now_ms = std::max(game_now_ms + 1, std::min(real, stop));
            return;
        }
        if (picture_waiting && real >= last_shown_ms + refresh_ms) {
            Show(); // also when behind: the player sees the game go on
            real = RealNowMs();
        }
        if (real >= stop) {
            if (real - stop > kLongestLagMs) {
                clock_offset_ms -= real - stop; // stopped for long: go on from here
            }
            game_now_ms = stop;
            return;
        }
        uint64_t wake = std::min(stop, gamepads.NextRepeat());
        if (picture_waiting) {
            wake = std::min(wake, last_shown_ms + refresh_ms);
        }
        // The clock counts whole milliseconds, so a wait of exactly the difference may end
        // just short of the deadline and cost another: wait one more.
        const uint64_t wait = wake > real ? std::min<uint64_t>(wake - real + 1, 1000) : 0;
        SDL_Event e;
        if (EventWait(static_cast<int>(wait), &e)) {
            Take(e);
        }
    }
}

// Live input waits in `pending` until the clock moves (WaitUntil); the script's is due by
// the clock.
bool PollInput(HostInput* input) {
    if (pending.empty()) {
        return script.TakeInput(game_now_ms, input);
    }
    *input = pending.front();
    pending.pop_front();
    if (stats && input->kind == HostInputKind::Key && input->down) {
        // A keyboard's key from SDL's own event time; a controller's from now.
        keys_taken.push_back(key_stamps.empty() ? SDL_GetTicks() : key_stamps.front());
        if (!key_stamps.empty()) {
            key_stamps.pop_front();
        }
    }
    return true;
}

void Present(const uint16_t* pixels, int pitch_bytes, const uint8_t* rows) {
    screen_pixels = pixels;
    screen_pitch_bytes = pitch_bytes;
    picture_waiting = true;
    for (int y = 0; y < kHeight; ++y) {
        rows_changed[static_cast<size_t>(y)] |= rows[y];
    }
}

int MessageBox(const char* text, const char* title, unsigned style) {
    const Uint32 flags = (style & kIconHand) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    if (SDL_ShowSimpleMessageBox(flags, title ? title : "", text ? text : "", window) != 0) {
        fprintf(stderr, "%s: %s\n", title ? title : "", text ? text : "");
    }
    return 1; // IDOK
}

void ShowCursor(bool visible) {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

const HostOps kSdlOps = {NowMs, WaitUntil, PollInput, Present, MessageBox, ShowCursor};

} // namespace

const HostOps* SdlHostOpen(const SdlOptions& options, std::string* error) {
    const char* x11 = getenv("DISPLAY");
    const char* wayland = getenv("WAYLAND_DISPLAY");
    if ((!x11 || !*x11) && (!wayland || !*wayland)) {
        *error = "no display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
        return nullptr;
    }
    stats = getenv("ZOBU_SDL_STATS") != nullptr;
    full_upload = getenv("ZOBU_SDL_FULL_UPLOAD") != nullptr;
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
    SDL_DisplayMode desktop;
    int scale = options.scale;
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
        if (scale <= 0) {
            scale =
                std::max(1, std::min(desktop.w * 8 / 10 / kWidth, desktop.h * 8 / 10 / kHeight));
        }
        if (desktop.refresh_rate > 0) {
            refresh_ms = std::max<uint64_t>(1, 1000 / static_cast<uint64_t>(desktop.refresh_rate));
        }
    }
    scale = std::max(scale, 1);
    const Uint32 flags =
        SDL_WINDOW_RESIZABLE | (options.windowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    window = SDL_CreateWindow("Zobu 4", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              kWidth * scale, kHeight * scale, flags);
    if (window && options.gpu) {
        renderer = SDL_CreateRenderer(window, -1, 0);
        texture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB565,
                                               SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight)
                           : nullptr;
        if (texture) {
            // Sharp at any size: a whole number of pixels per pixel, centred, black bars.
            SDL_RenderSetLogicalSize(renderer, kWidth, kHeight);
            SDL_RenderSetIntegerScale(renderer, SDL_TRUE);
        }
    } else if (window) {
        // The shadow copy of the picture, as a surface that SDL converts and scales itself.
        picture = SDL_CreateRGBSurfaceWithFormatFrom(shown.data(), kWidth, kHeight, 16,
                                                     kWidth * static_cast<int>(sizeof(uint16_t)),
                                                     SDL_PIXELFORMAT_RGB565);
    }
    if (!window || (options.gpu ? !texture : !picture)) {
        *error = std::string("cannot open a window: ") + SDL_GetError();
        SdlHostClose();
        return nullptr;
    }
    SDL_SetWindowMinimumSize(window, kWidth, kHeight);
    EventWaitOpen(window);
    return &kSdlOps;
}

EventSchedule& SdlHostSchedule() {
    return script;
}

void SdlHostSnapshot(const std::string& path) {
    if (picture_waiting) {
        Show(); // the newest picture, written as the window shows it
    }
    WriteSnapshotPng(path, shown.data());
}

void SdlHostSetClock(uint64_t (*now)()) {
    test_clock = now;
}

void SdlHostStartTick(uint64_t tick) {
    clock_offset_ms = tick - (test_clock ? test_clock() : SDL_GetTicks64());
    game_now_ms = tick;
}

void SdlHostClose() {
    if (stats) {
        ReportStats();
    }
    if (texture) {
        SDL_DestroyTexture(texture);
    }
    if (picture) {
        SDL_FreeSurface(picture);
    }
    picture = nullptr;
    if (renderer) {
        SDL_DestroyRenderer(renderer);
    }
    if (window) {
        SDL_DestroyWindow(window);
    }
    texture = nullptr;
    renderer = nullptr;
    window = nullptr;
    pending.clear();
    script.Clear();
    SDL_Quit();
    EventWaitClose();
}
