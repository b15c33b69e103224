// Zobu 4 platform floor: the SDL2 host.
#include "sdl_host.h"

#include "../script.h"
#include "gamepad.h"

#include <SDL.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <deque>
#include <vector>

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr unsigned kIconHand = 0x10; // MB_ICONHAND

// The window, its renderer and the texture the screen is shown through.
SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;
SDL_Texture* texture = nullptr;
// The screen's memory, as the last present gave it; the picture shown, to find what changed.
const uint16_t* screen_pixels = nullptr;
int screen_pitch_bytes = 0;
std::vector<uint16_t> shown(kWidth* kHeight, 0);
bool picture_waiting = false; // presented, not yet shown
bool everything_stale = true; // the window lost what it showed: send every row
uint64_t last_shown_ms = 0;
uint64_t refresh_ms = 16;
// The clock: SDL's milliseconds, moved so that it reads the start tick at the start.
uint64_t clock_offset_ms = 0;
uint64_t start_tick = 0;
// Input taken from SDL, not yet handed to the floor.
std::deque<HostInput> pending;
// The recording, if any.
FILE* record = nullptr;
// Controllers, whose buttons and stick are keys too.
Gamepads gamepads;

uint64_t NowMs() {
    return SDL_GetTicks64() + clock_offset_ms;
}

// Windows' virtual key for an SDL key, by its place on the keyboard; 0 for keys the game's
// world has no name for.
uint8_t VirtualKey(SDL_Scancode code) {
    if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z) {
        return static_cast<uint8_t>('A' + (code - SDL_SCANCODE_A));
    }
    if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9) {
        return static_cast<uint8_t>('1' + (code - SDL_SCANCODE_1));
    }
    if (code >= SDL_SCANCODE_F1 && code <= SDL_SCANCODE_F12) {
        return static_cast<uint8_t>(0x70 + (code - SDL_SCANCODE_F1)); // VK_F1
    }
    switch (code) {
    case SDL_SCANCODE_0:
        return '0';
    case SDL_SCANCODE_LEFT:
        return 0x25;
    case SDL_SCANCODE_UP:
        return 0x26;
    case SDL_SCANCODE_RIGHT:
        return 0x27;
    case SDL_SCANCODE_DOWN:
        return 0x28;
    case SDL_SCANCODE_SPACE:
        return 0x20;
    case SDL_SCANCODE_ESCAPE:
        return 0x1B;
    case SDL_SCANCODE_RETURN:
        return 0x0D;
    case SDL_SCANCODE_TAB:
        return 0x09;
    case SDL_SCANCODE_BACKSPACE:
        return 0x08;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
        return 0x12; // VK_MENU
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL:
        return 0x11;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT:
        return 0x10;
    default:
        return 0;
    }
}

void Record(const std::string& event) {
    if (record) {
        fprintf(record, "%llu %s\n", static_cast<unsigned long long>(NowMs() - start_tick),
                event.c_str());
        fflush(record);
    }
}

void ToggleFullScreen() {
    const bool full = SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_SetWindowFullscreen(window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    everything_stale = picture_waiting = true;
}

// Turns what SDL reports into the floor's input.
void Take(const SDL_Event& e) {
    HostInput input;
    const size_t before = pending.size();
    if (gamepads.Take(e, NowMs(), &pending)) {
        for (size_t i = before; i < pending.size(); ++i) {
            const std::string name = NameFromVirtualKey(pending[i].virtual_key);
            Record(std::string(pending[i].down ? "down " : "up ") + name);
        }
        return;
    }
    switch (e.type) {
    case SDL_QUIT: // the window's close button, or SIGINT or SIGTERM
        input.kind = HostInputKind::Close;
        Record("close");
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
        input.virtual_key = VirtualKey(e.key.keysym.scancode);
        if (input.virtual_key == 0) {
            break;
        }
        input.down = down;
        const std::string name = NameFromVirtualKey(input.virtual_key);
        if (!name.empty()) {
            Record(std::string(down ? "down " : "up ") + name);
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

void Drain() {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        Take(e);
    }
    const size_t before = pending.size();
    gamepads.Repeat(NowMs(), &pending);
    for (size_t i = before; i < pending.size(); ++i) {
        Record("down " + NameFromVirtualKey(pending[i].virtual_key));
    }
}

// Sends the rows that changed since the picture last shown, and shows it.
void Show() {
    picture_waiting = false;
    last_shown_ms = NowMs();
    if (screen_pixels) {
        int first = kHeight, last = -1;
        for (int y = 0; y < kHeight; ++y) {
            const auto* row = reinterpret_cast<const uint16_t*>(
                reinterpret_cast<const uint8_t*>(screen_pixels) + y * screen_pitch_bytes);
            uint16_t* copy = &shown[static_cast<size_t>(y) * kWidth];
            if (everything_stale || memcmp(copy, row, kWidth * sizeof(uint16_t)) != 0) {
                memcpy(copy, row, kWidth * sizeof(uint16_t));
                first = std::min(first, y);
                last = y;
            }
        }
        if (last >= first) {
            const SDL_Rect rows = {0, first, kWidth, last - first + 1};
            SDL_UpdateTexture(texture, &rows, &shown[static_cast<size_t>(first) * kWidth],
                              kWidth * static_cast<int>(sizeof(uint16_t)));
        }
    }
    everything_stale = false;
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
}

// The floor waits here: the newest picture is shown, paced to the display's refresh, and
// SDL's events are waited for until the deadline.
void WaitUntil(uint64_t deadline_ms) {
    for (;;) {
        Drain();
        if (!pending.empty()) {
            return;
        }
        uint64_t now = NowMs();
        if (picture_waiting && now >= last_shown_ms + refresh_ms) {
            Show();
            now = NowMs();
        }
        if (now >= deadline_ms) {
            return;
        }
        uint64_t wake = std::min(deadline_ms, gamepads.NextRepeat());
        if (picture_waiting) {
            wake = std::min(wake, last_shown_ms + refresh_ms);
        }
        const uint64_t wait = std::min<uint64_t>(wake - now, 1000);
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, static_cast<int>(wait))) {
            Take(e);
        }
    }
}

bool PollInput(HostInput* input) {
    Drain();
    if (pending.empty()) {
        return false;
    }
    *input = pending.front();
    pending.pop_front();
    return true;
}

void Present(const uint16_t* pixels, int pitch_bytes) {
    screen_pixels = pixels;
    screen_pitch_bytes = pitch_bytes;
    picture_waiting = true;
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
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
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
    renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
    texture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB565,
                                           SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight)
                       : nullptr;
    if (!texture) {
        *error = std::string("cannot open a window: ") + SDL_GetError();
        SdlHostClose();
        return nullptr;
    }
    SDL_SetWindowMinimumSize(window, kWidth, kHeight);
    // Sharp at any size: a whole number of pixels per pixel, centred, black bars around.
    SDL_RenderSetLogicalSize(renderer, kWidth, kHeight);
    SDL_RenderSetIntegerScale(renderer, SDL_TRUE);
    if (!options.record.empty()) {
        record = fopen(options.record.c_str(), "w");
        if (!record) {
            *error = "cannot write the recording \"" + options.record + "\"";
            SdlHostClose();
            return nullptr;
        }
    }
    return &kSdlOps;
}

void SdlHostStartTick(uint64_t tick) {
    start_tick = tick;
    clock_offset_ms = tick - SDL_GetTicks64();
    if (record) {
        fprintf(record, "tick %llu\n", static_cast<unsigned long long>(tick));
        fflush(record);
    }
}

void SdlHostClose() {
    if (record) {
        fclose(record);
        record = nullptr;
    }
    if (texture) {
        SDL_DestroyTexture(texture);
    }
    if (renderer) {
        SDL_DestroyRenderer(renderer);
    }
    if (window) {
        SDL_DestroyWindow(window);
    }
    texture = nullptr;
    renderer = nullptr;
    window = nullptr;
    SDL_Quit();
}
