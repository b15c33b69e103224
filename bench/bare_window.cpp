// The yardstick for the game's start-up: a bare SDL window, opened, painted black and shown
// as the SDL host shows its pictures, then closed. It prints, as the game does with
// ZOBU_SDL_STATS=1, the CLOCK_MONOTONIC second at which its first picture was shown.
#include <SDL.h>

#include <stdio.h>
#include <time.h>

int main(int, char**) {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        fprintf(stderr, "bare_window: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window =
        SDL_CreateWindow("Zobu 4", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640, 480, 0);
    SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!surface) {
        fprintf(stderr, "bare_window: %s\n", SDL_GetError());
        return 1;
    }
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    SDL_UpdateWindowSurface(window);
    timespec shown;
    clock_gettime(CLOCK_MONOTONIC, &shown);
    fprintf(stderr, "bare window: first picture at %.4f s\n",
            static_cast<double>(shown.tv_sec) + static_cast<double>(shown.tv_nsec) / 1e9);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
