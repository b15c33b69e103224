// Zobu 4: composing and presenting one frame.
#include "app/shell.h"

#include "app/state.h"
#include "game/dropper.h"
#include "game/falling_item.h"
#include "game/pot.h"
#include "screen/image.h"
#include "screen/screen.h"

#include <stdio.h>
#include <string.h>

namespace {
constexpr COLORREF kMagenta = 0x00FF00FF;
constexpr COLORREF kYellow = 0x0000FFFF;
} // namespace

HRESULT RenderFrame() {
    // Nothing to draw with before start-up has made it all, after a failed start-up, or
    // once shut-down has let the background go.
    if (gameScreen == nullptr || gameScreen->primary == nullptr ||
        gameScreen->backBuffer == nullptr || background == nullptr) {
        return S_OK;
    }
    gameScreen->FillBackBuffer(0);
    gameScreen->backBuffer->Blt(nullptr, background->surface, nullptr, DDBLT_WAIT, nullptr);
    FallingItem.Draw(gameScreen, gameScreen->backBuffer);
    Dropper.SpriteDraw(gameScreen, gameScreen->backBuffer);
    Pot.SpriteDraw(gameScreen, gameScreen->backBuffer);

    char digits[256];
    memset(digits, 0, sizeof digits);
    snprintf(digits, sizeof digits, "%d", static_cast<int>(Pot.speed));
    if (speedText != nullptr) {
        speedText->Destroy();
        delete speedText;
        speedText = nullptr;
    }
    HRESULT hr = gameScreen->MakeTextImage(&speedText, nullptr, digits, kMagenta, kYellow);
    if (FAILED(hr)) {
        return hr;
    }
    gameScreen->DrawImage(10, 10, speedText, nullptr);

    hr = gameScreen->primary->Blt(nullptr, gameScreen->backBuffer, nullptr, DDBLT_WAIT, nullptr);
    if (hr == DDERR_SURFACELOST) {
        // Another program took the display (on Windows, every Alt+Tab) and the primary's
        // memory with it. Restoring the primary restores its back buffer; the next frame
        // draws everything again from the art, which lives in system memory.
        gameScreen->primary->Restore();
    }
    return FAILED(hr) ? hr : S_OK;
}
