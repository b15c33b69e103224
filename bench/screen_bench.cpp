// The screen layer's costs, each beside the plain memory operation it is measured against.
// Run bench/ratios.sh for the ratios; the raw times alone mean little.
#include "screen/image.h"
#include "screen/screen.h"

#include "bench_window.h"
#include "ddraw/keyed_copy.h"
#include "gdi/bmp.h"

#include <benchmark/benchmark.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <fstream>
#include <vector>

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr size_t kScreenBytes = kWidth * kHeight * 2;

// One opened Screen for every benchmark, as the game has one.
Screen& TheScreen() {
    static Screen* screen = [] {
        HWND w = OpenBenchWindow(WS_POPUP | WS_VISIBLE);
        auto* s = new Screen();
        if (FAILED(s->OpenFullScreen(w, kWidth, kHeight, 16))) {
            fprintf(stderr, "screen_bench: cannot open the screen\n");
        }
        return s;
    }();
    return *screen;
}

IDirectDrawSurface7* Surface(DWORD w, DWORD h) {
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    desc.dwWidth = w;
    desc.dwHeight = h;
    IDirectDrawSurface7* s = nullptr;
    TheScreen().directDraw->CreateSurface(&desc, &s, nullptr);
    return s;
}

void BM_FullScreenBlt(benchmark::State& state) {
    Screen& screen = TheScreen();
    IDirectDrawSurface7* background = Surface(kWidth, kHeight);
    for (auto _ : state) {
        screen.backBuffer->Blt(nullptr, background, nullptr, DDBLT_WAIT, nullptr);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kScreenBytes));
    background->Release();
}
BENCHMARK(BM_FullScreenBlt);

void BM_FullScreenMemcpy(benchmark::State& state) {
    std::vector<uint8_t> from(kScreenBytes, 1), to(kScreenBytes);
    for (auto _ : state) {
        memcpy(to.data(), from.data(), kScreenBytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kScreenBytes));
}
BENCHMARK(BM_FullScreenMemcpy);

// A fill of the whole back buffer waits for a reader; the Lock is that reader here.
void BM_ColorFillBackBuffer(benchmark::State& state) {
    Screen& screen = TheScreen();
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    for (auto _ : state) {
        screen.FillBackBuffer(0);
        screen.backBuffer->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
        screen.backBuffer->Unlock(nullptr);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ColorFillBackBuffer);

void BM_FullScreenMemset(benchmark::State& state) {
    std::vector<uint8_t> to(kScreenBytes);
    for (auto _ : state) {
        memset(to.data(), 0, kScreenBytes);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullScreenMemset);

// A 128 x 160 sprite with a magenta surround, drawn with and without its key.
void SpriteBlt(benchmark::State& state, DWORD flags) {
    Screen& screen = TheScreen();
    IDirectDrawSurface7* sprite = Surface(128, 160);
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    sprite->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
    for (DWORD y = 0; y < 160; ++y) {
        auto* row =
            reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch);
        for (DWORD x = 0; x < 128; ++x) {
            row[x] =
                (x < 16 || x >= 112 || (x + y) % 7 == 0) ? 0xF81F : static_cast<uint16_t>(x * y);
        }
    }
    sprite->Unlock(nullptr);
    DDCOLORKEY key = {0xF81F, 0xF81F};
    sprite->SetColorKey(DDCKEY_SRCBLT, &key);
    for (auto _ : state) {
        screen.backBuffer->BltFast(256, 85, sprite, nullptr, flags);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * 128 * 160));
    sprite->Release();
}
void BM_SpriteKeyed(benchmark::State& state) {
    SpriteBlt(state, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
}
void BM_SpritePlain(benchmark::State& state) {
    SpriteBlt(state, DDBLTFAST_NOCOLORKEY | DDBLTFAST_WAIT);
}
BENCHMARK(BM_SpriteKeyed);
BENCHMARK(BM_SpritePlain);

// The same sprite's keyed copy on each path the processor runs (0: 16-byte lanes, 1: AVX2),
// straight into the back buffer, so that the paths compare side by side.
void BM_SpriteKeyedOnPath(benchmark::State& state) {
    const auto path = static_cast<KeyedCopyPath>(state.range(0));
    const std::vector<KeyedCopyPath> paths = KeyedCopyPaths();
    if (std::find(paths.begin(), paths.end(), path) == paths.end()) {
        state.SkipWithError("this processor lacks the path");
        return;
    }
    std::vector<uint16_t> sprite(128 * 160);
    for (size_t i = 0; i < sprite.size(); ++i) {
        const size_t x = i % 128, y = i / 128;
        sprite[i] =
            (x < 16 || x >= 112 || (x + y) % 7 == 0) ? 0xF81F : static_cast<uint16_t>(x * y);
    }
    IDirectDrawSurface7* back = TheScreen().backBuffer;
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
    const KeyedBlock block = {static_cast<uint8_t*>(desc.lpSurface) + 85 * desc.lPitch + 256 * 2,
                              desc.lPitch,
                              reinterpret_cast<const uint8_t*>(sprite.data()),
                              128 * 2,
                              128,
                              160,
                              2,
                              0xF81F};
    for (auto _ : state) {
        CopyKeyedOn(path, block);
        benchmark::ClobberMemory();
    }
    back->Unlock(nullptr);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * 128 * 160));
}
BENCHMARK(BM_SpriteKeyedOnPath)->Arg(0)->Arg(1);

// What the frame composer pays every frame for the speed figure: make it, then release the
// previous one.
void BM_MakeTextImage12(benchmark::State& state) {
    Screen& screen = TheScreen();
    for (auto _ : state) {
        Image* text = nullptr;
        screen.MakeTextImage(&text, nullptr, "12", RGB(255, 0, 255), RGB(255, 255, 0));
        text->Destroy();
        delete text;
    }
}
BENCHMARK(BM_MakeTextImage12);

std::vector<uint8_t> Background24() {
    const int32_t stride = kWidth * 3;
    std::vector<uint8_t> file = {'B', 'M'};
    auto put = [&](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) {
            file.push_back(static_cast<uint8_t>(v >> (8 * i)));
        }
    };
    put(54 + stride * kHeight, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(kWidth, 4);
    put(kHeight, 4);
    put(1, 2);
    put(24, 2);
    put(0, 24);
    for (int i = 0; i < stride * kHeight; ++i) {
        file.push_back(static_cast<uint8_t>(i * 31));
    }
    return file;
}

const char* BackgroundPath() {
    static const char* path = [] {
        const char* p = "/tmp/zobu4-bench-back.bmp";
        const std::vector<uint8_t> bytes = Background24();
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return p;
    }();
    return path;
}

std::vector<uint8_t> ReadWhole(const char* path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    std::vector<uint8_t> bytes(static_cast<size_t>(file.tellg()));
    file.seekg(0);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

void BM_ReadBackgroundFile(benchmark::State& state) {
    const char* path = BackgroundPath();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadWhole(path));
    }
}
BENCHMARK(BM_ReadBackgroundFile);

void BM_DecodeBackgroundBmp(benchmark::State& state) {
    const std::vector<uint8_t> bytes = ReadWhole(BackgroundPath());
    for (auto _ : state) {
        DecodedBitmap decoded;
        std::string error;
        DecodeBmp(bytes.data(), bytes.size(), BmpSource::File, &decoded, &error);
        benchmark::DoNotOptimize(decoded.pixels.data());
    }
}
BENCHMARK(BM_DecodeBackgroundBmp);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::AddCustomContext("keyed_copy_path", KeyedCopyPathName(KeyedCopyBestPath()));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
