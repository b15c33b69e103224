// The frame benchmark in a browser page: RenderFrame against the raw memory work it implies,
// timed in turns in the same page, as frame_bench does on the desktop. Built twice, with and
// without Asyncify, to tell what Asyncify costs; bench/web_figures.sh reads what it prints.
#include "typical_frame.h"

#include "app/shell.h"

#include <emscripten.h>

#include <stdio.h>

#include <algorithm>
#include <vector>

namespace {

// Microseconds per call of `work`, over enough calls to take about 20 ms.
template <typename Work> double MicrosecondsPer(Work work) {
    int calls = 1;
    for (;;) {
        const double start = emscripten_get_now();
        for (int i = 0; i < calls; ++i) {
            work();
        }
        const double elapsed = emscripten_get_now() - start;
        if (elapsed > 20.0) {
            return elapsed * 1000.0 / calls;
        }
        calls *= 2;
    }
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main() {
    if (!StartTypicalFrame("/")) {
        printf("zobu4 bench: cannot start the game\n");
        return 1;
    }
    FrameMemoryWork memory;
    std::vector<double> frames, works;
    unsigned sample = 0;
    for (int round = 0; round < 15; ++round) {
        frames.push_back(MicrosecondsPer([] { RenderFrame(); }));
        works.push_back(MicrosecondsPer([&] {
            memory.Run();
            sample += memory.Sample();
        }));
#ifdef ZOBU_BENCH_ASYNCIFY
        emscripten_sleep(0); // the page breathes between rounds, as the game's loop lets it
#endif
    }
    printf("zobu4 bench: RenderFrame %.1f us, FrameMemoryWork %.1f us, ratio %.3f (%u)\n",
           Median(frames), Median(works), Median(frames) / Median(works), sample & 1);
    return 0;
}
