// Zobu 4 platform floor: DirectDraw clippers.
//
// A clipper bound to a window makes blits onto the primary surface touch only the part of
// the screen where that window shows: its rectangle cut to its shape, minus the windows
// above it. So a GDI window over the game (the score panel) is never painted over when a
// frame is presented. The region is taken afresh at every blit, as windows move and change.
#include "ddraw_private.h"

#include "../user/window_geometry.h"

Clipper::Clipper() {
    TrackObject({0, 0, 1});
}

Clipper::~Clipper() {
    TrackObject({0, 0, -1});
}

HRESULT Clipper::QueryInterface(REFIID, void** object) {
    if (object) {
        *object = nullptr;
    }
    return E_NOINTERFACE;
}

ULONG Clipper::AddRef() {
    return ++refs_;
}

ULONG Clipper::Release() {
    const ULONG refs = --refs_;
    if (refs == 0) {
        delete this;
    }
    return refs;
}

HRESULT Clipper::GetHWnd(HWND* window) {
    if (!window) {
        return DDERR_INVALIDPARAMS;
    }
    *window = window_;
    return DD_OK;
}

HRESULT Clipper::SetHWnd(DWORD flags, HWND window) {
    RECT unused;
    if (flags != 0 || (window && !UserWindowScreenRect(window, false, &unused))) {
        return DDERR_INVALIDPARAMS;
    }
    window_ = window;
    return DD_OK;
}
