// Zobu 4 platform floor: the SDL host's window and the picture in it, and the figures of the
// measuring switch ZOBU_SDL_STATS (sdl_host.h).
#include "sdl_private.h"

#include "../changed_rects.h"

#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <deque>
#include <vector>

namespace {

constexpr int kWidth = kScreenWidth, kHeight = kScreenHeight;

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
std::vector<uint16_t> shown(size_t{kWidth} * kHeight, 0);
bool picture_waiting = false; // presented, not yet shown
// A byte a row: nonzero where the presents since the last picture shown may have changed it.
std::vector<uint8_t> rows_changed(kHeight, 1);
bool everything_stale = true; // the window lost what it showed: send all of it
uint64_t last_shown_ms = 0;   // on the real clock
uint64_t refresh_ms = 16;
// The measuring switches (sdl_host.h), and what they measure.
bool stats = false;
bool full_upload = false;
double first_picture_s = 0;      // CLOCK_MONOTONIC when the first picture was shown
std::deque<uint32_t> key_stamps; // SDL's times of keyboard key-downs, not yet handed on
std::deque<uint32_t> keys_taken; // those handed to the floor, not yet shown
std::vector<uint32_t> key_to_screen_ms;
uint64_t pictures = 0, pixels_sent = 0;

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

} // namespace

bool VideoOpen(const SdlOptions& options, std::string* error) {
    stats = getenv("ZOBU_SDL_STATS") != nullptr;
    full_upload = getenv("ZOBU_SDL_FULL_UPLOAD") != nullptr;
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
    // Wayland gives a window no image of its own to draw into: the window's surface exists
    // there only through a renderer, which the hint of the CPU path turned off. Show through
    // the renderer then, as --gpu does; a window that shows nothing must never go unnoticed.
    bool through_renderer = options.gpu;
    if (window && !through_renderer && !SDL_GetWindowSurface(window)) {
        through_renderer = true;
    }
    if (window && through_renderer) {
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
    if (!window) {
        *error = std::string("cannot open a window: ") + SDL_GetError();
        return false;
    }
    if (through_renderer ? !texture : !picture) {
        *error = std::string("cannot show a picture on the ") + SDL_GetCurrentVideoDriver() +
                 " video driver: " + SDL_GetError();
        return false;
    }
    SDL_SetWindowMinimumSize(window, kWidth, kHeight);
    return true;
}

void VideoClose() {
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
}

SDL_Window* VideoWindow() {
    return window;
}

void VideoPresent(const uint16_t* pixels, int pitch_bytes, const uint8_t* rows) {
    screen_pixels = pixels;
    screen_pitch_bytes = pitch_bytes;
    picture_waiting = true;
    for (int y = 0; y < kHeight; ++y) {
        rows_changed[static_cast<size_t>(y)] |= rows[y];
    }
}

uint64_t VideoNextShow() {
    return picture_waiting ? last_shown_ms + refresh_ms : kHostForever;
}

// Sends what changed since the picture last shown, and shows it.
void VideoShow() {
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
            timespec t{};
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

void VideoShowAllAgain() {
    everything_stale = picture_waiting = true;
}

void VideoToggleFullScreen() {
    const bool full = SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_SetWindowFullscreen(window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    everything_stale = picture_waiting = true;
}

void VideoScreenPoint(int32_t* x, int32_t* y) {
    if (!renderer) { // the renderer's logical size maps them already
        *x = (*x - picture_x) / picture_scale;
        *y = (*y - picture_y) / picture_scale;
    }
}

const uint16_t* VideoShown() {
    if (picture_waiting) {
        VideoShow(); // the newest picture, written as the window shows it
    }
    return shown.data();
}

void StatsKeyDown(uint32_t sdl_ms) {
    if (stats) {
        key_stamps.push_back(sdl_ms);
    }
}

void StatsKeyTaken() {
    if (stats) {
        // A keyboard's key from SDL's own event time; a controller's from now.
        keys_taken.push_back(key_stamps.empty() ? SDL_GetTicks() : key_stamps.front());
        if (!key_stamps.empty()) {
            key_stamps.pop_front();
        }
    }
}
