// Zobu 4: dropping, falling and catching.
#include "game/falling_item.h"

#include "app/state.h"
#include "game/art.h"
#include "game/dropper.h"
#include "game/pot.h"
#include "game/timers.h"
#include "res/resource.h"

#include <stdlib.h>
#include <string.h>

namespace {

constexpr int32_t kLaunchOffsetX = 64; // the middle of the 128-wide Dropper art
constexpr int32_t kLaunchY = 245;      // the Dropper's bottom edge: 85 + 160
constexpr int32_t kFallPixels = 6;
constexpr int32_t kFloorY = 443;  // a flight that finds y here or lower is over
constexpr int32_t kHalfSize = 16; // the test point is the centre of the 32 x 32 art
constexpr int32_t kMouthWidth = 64;
constexpr int32_t kMouthHeight = 8;
constexpr UINT kFallMs = 83;
constexpr int kScoreBufferSize = 256;

} // namespace

FallingItem::FallingItem()
    : x(304), y(245), state(0), drops(0), hits(0), image1(nullptr), image2(nullptr) {}

FallingItem::~FallingItem() {
    ReleaseArt(image1);
    ReleaseArt(image2);
}

int FallingItem::Launch(int32_t launchX, int32_t launchY) {
    x = launchX;
    y = launchY;
    state = 1 + (rand() % 2);
    return 0;
}

int FallingItem::Fall(int32_t mouthX, int32_t mouthY, int32_t mouthWidth, int32_t mouthHeight) {
    // The floor test comes before the step: a step that reaches the floor leaves the item
    // there, drawn, until the next tick ends the flight.
    if (y >= kFloorY) {
        state = 0;
        return 1;
    }
    y += kFallPixels;
    if (HitTest(mouthX, mouthY, mouthWidth, mouthHeight) == 1) {
        hits += 1;
        return 2;
    }
    return 0;
}

int FallingItem::HitTest(int32_t mouthX, int32_t mouthY, int32_t mouthWidth, int32_t mouthHeight) {
    const int32_t cx = x + kHalfSize;
    const int32_t cy = y + kHalfSize;
    if (mouthX < cx && cx < mouthX + mouthWidth && mouthY < cy && cy < mouthY + mouthHeight) {
        state = 0;
        return 1;
    }
    return 0;
}

HRESULT FallingItem::LoadArt(Screen* screen) {
    const HRESULT hr = LoadArtImage(screen, &image1, "Bitmaps\\ZOBU1.bmp", 32, 32);
    if (FAILED(hr)) {
        return hr;
    }
    return LoadArtImage(screen, &image2, "Bitmaps\\ZOBU2.bmp", 32, 32);
}

int FallingItem::Draw(Screen*, IDirectDrawSurface7*& backBuffer) {
    if (state == 1) {
        DrawArt(image1, x, y, backBuffer);
    } else if (state == 2) {
        DrawArt(image2, x, y, backBuffer);
    }
    return 0;
}

int FallingItem::FormatScore(char* buffer, int32_t size) {
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    memset(buffer, 0, static_cast<size_t>(size));
    // wsprintfA cannot be told the buffer's size; format where it cannot overrun, then copy
    // what fits, so a short buffer gets a cut score rather than a trampled stack.
    char text[1024];
    const int length = wsprintfA(text, "%d/%d", hits, drops);
    memcpy(buffer, text, static_cast<size_t>(length < size ? length : size - 1));
    return 0;
}

void OnDropCommand() {
    if (FallingItem.state != 0) {
        return;
    }
    FallingItem.Launch(Dropper.x + kLaunchOffsetX, kLaunchY);
    SetTimer(mainWindow, TIMER_FALL, kFallMs, OnFallTimer);
    FallingItem.drops += 1;
}

void CALLBACK OnFallTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (FallingItem.Fall(Pot.x, Pot.y, kMouthWidth, kMouthHeight) == 0) {
        return;
    }
    char text[kScoreBufferSize];
    FallingItem.FormatScore(text, sizeof text);
    SendDlgItemMessageA(scorePanel, IDC_SCORE, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    KillTimer(mainWindow, TIMER_FALL);
}
