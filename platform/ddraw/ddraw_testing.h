// Zobu 4 platform floor: hooks for tests of code that uses DirectDraw, and the display's loss.
//
// They let a test make any DirectDraw call fail with the code of its choice, lose the
// surfaces in display memory as when another program takes the display, and take away the
// capability of showing GDI windows over the full-screen picture. They are ordinary
// functions of the floor, not test-only branches: the default state is a display that works,
// and user32 loses the surfaces itself when a host says the display was taken (a script's
// "lose").
#pragma once

#include <ddraw.h>

enum class DDrawCall {
    DirectDrawCreateEx,
    SetCooperativeLevel,
    SetDisplayMode,
    CreateSurface,
    CreateClipper,
    GetCaps,
    GetAttachedSurface,
    GetSurfaceDesc,
    Blt,
    BltFast,
    GetDC,
    ReleaseDC,
    Lock,
    Unlock,
    Restore,
    SetClipper,
    SetColorKey,
    Count,
};

// The call of that kind after the next `skip` ones returns `code` instead of doing its
// work (once). A later hook for the same kind replaces an earlier one.
void DDrawFailCall(DDrawCall call, HRESULT code, int skip = 0);

// Whether GetCaps reports DDCAPS2_CANRENDERWINDOWED (it does by default).
void DDrawSetCanRenderWindowed(bool can);

// DirectDraw objects, surfaces and clippers alive (not yet released to zero).
struct DDrawLiveObjects {
    int direct_draws = 0;
    int surfaces = 0;
    int clippers = 0;
};
DDrawLiveObjects DDrawLive();

// Forgets the hooks and the exclusive mode (not the objects): a fresh start for a fixture.
void DDrawReset();
