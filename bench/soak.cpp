// The soak: the game played headless for hours of virtual time with a repeating script of
// drops, moves and displays taken away, reporting memory and open handles near the start
// and at the end. They must not grow: the program exits 1 if they do.
//
//   build/release/bench/soak [MINUTES]     (default 1440: a day of play, a few minutes here)
#include "app/state.h"

#include "ddraw/ddraw_testing.h"
#include "gdi/gdi_private.h"
#include "host/headless/headless.h"
#include "kernel/embedded_resources.h"
#include "kernel/resources.h"
#include "user/user_private.h"

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

namespace {

struct Resources {
    long rss_kib = 0;
    GdiLiveObjects gdi;
    DDrawLiveObjects ddraw;
    size_t windows = 0;
    bool taken = false;
};

long ResidentKib() {
    FILE* status = fopen("/proc/self/status", "r");
    char line[256];
    long kib = -1;
    while (status && fgets(line, sizeof line, status)) {
        if (sscanf(line, "VmRSS: %ld kB", &kib) == 1) {
            break;
        }
    }
    if (status) {
        fclose(status);
    }
    return kib;
}

void Take(void* context) {
    auto* r = static_cast<Resources*>(context);
    r->rss_kib = ResidentKib();
    r->gdi = GdiLive();
    r->ddraw = DDrawLive();
    r->windows = UserLiveWindows();
    r->taken = true;
}

void Print(const char* when, const Resources& r) {
    printf("%-6s rss %6ld KiB | GDI: %d bitmaps %d regions %d brushes %d DCs | DirectDraw: "
           "%d objects %d surfaces %d clippers | %zu windows\n",
           when, r.rss_kib, r.gdi.bitmaps, r.gdi.regions, r.gdi.brushes, r.gdi.dcs,
           r.ddraw.direct_draws, r.ddraw.surfaces, r.ddraw.clippers, r.windows);
}

bool SameHandles(const Resources& a, const Resources& b) {
    return a.gdi.bitmaps == b.gdi.bitmaps && a.gdi.regions == b.gdi.regions &&
           a.gdi.fonts == b.gdi.fonts && a.gdi.brushes == b.gdi.brushes && a.gdi.dcs == b.gdi.dcs &&
           a.ddraw.direct_draws == b.ddraw.direct_draws && a.ddraw.surfaces == b.ddraw.surfaces &&
           a.ddraw.clippers == b.ddraw.clippers && a.windows == b.windows;
}

} // namespace

int main(int argc, char** argv) {
    const uint64_t minutes = argc > 1 ? strtoull(argv[1], nullptr, 10) : 24 * 60;
    if (minutes < 2 || chdir(ZOBU_SOURCE_DIR) != 0) {
        fprintf(stderr, "soak: give at least 2 minutes, and keep the source tree in place\n");
        return 2;
    }
    HeadlessReset(HeadlessClock::Virtual);
    HostInstall(HeadlessHost());
    std::string error;
    KernelSetModuleResources(kEmbeddedModuleResources, kEmbeddedModuleResourcesSize, &error);

    // Every 20 s: a drop, a walk left, a drop, a walk right, the display taken away, a drop.
    const uint64_t end_ms = minutes * 60 * 1000;
    for (uint64_t t = 0; t + 20000 <= end_ms; t += 20000) {
        HeadlessScheduleKey(t, VK_SPACE, true);
        HeadlessScheduleKey(t + 1, VK_SPACE, false);
        for (uint64_t held = 0; held < 1500; held += 33) {
            HeadlessScheduleKey(t + 500 + held, VK_LEFT, true);
        }
        HeadlessScheduleKey(t + 2000, VK_LEFT, false);
        HeadlessScheduleKey(t + 3000, VK_SPACE, true);
        HeadlessScheduleKey(t + 3001, VK_SPACE, false);
        for (uint64_t held = 0; held < 1500; held += 33) {
            HeadlessScheduleKey(t + 3500 + held, VK_RIGHT, true);
        }
        HeadlessScheduleKey(t + 5000, VK_RIGHT, false);
        HeadlessScheduleDisplayLost(t + 8000);
        HeadlessScheduleKey(t + 10000, VK_SPACE, true);
        HeadlessScheduleKey(t + 10001, VK_SPACE, false);
    }
    // Near the start, once everything is made and a cycle has run; and at the end.
    Resources start, end;
    HeadlessScheduleProbe(60 * 1000 + 15000, Take, &start);
    HeadlessScheduleProbe(end_ms - 5000, Take, &end);
    HeadlessCloseWhenScriptEnds(true);

    const int status =
        WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWDEFAULT);
    printf("soak: %llu virtual minutes, WinMain returned %d\n",
           static_cast<unsigned long long>(minutes), status);
    Print("start", start);
    Print("end", end);
    // Memory may settle by a few pages; handles may not move at all.
    const bool grew =
        !start.taken || !end.taken || !SameHandles(start, end) || end.rss_kib > start.rss_kib + 512;
    printf("soak: %s\n", grew ? "GREW" : "no growth");
    return status == 0 && !grew ? 0 : 1;
}
