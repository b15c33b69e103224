// Zobu 4 platform floor: painting. Update regions, window device contexts, BeginPaint and
// EndPaint, the frames that the default procedure draws, system colours, FillRect and
// InvertRect.
//
// Windows and the DirectDraw primary share one picture, the screen (gdi_private.h). A
// window's device context is a GDI DC on the screen: its (0, 0) lies at the client area's
// corner (GetDC, BeginPaint) or the window's (GetWindowDC), and it touches only the window's
// visible region as it stands when the DC is taken (BeginPaint's also only the update
// region, which it empties). A window without WS_CLIPCHILDREN paints over its children, as
// on Windows, so invalidating it invalidates the children beneath too, and WM_PAINT reaches
// a parent before its children.
#include "user_private.h"
#include "window_geometry.h"

#include "../gdi/gdi_private.h"

#include <map>

namespace {

// Device contexts handed out for windows, each with its window (null: the screen's).
std::map<HDC, HWND> dcs_out;

// The update region of `w` grows by `area` (client coordinates), and so do those of its
// visible children beneath it.
void Invalidate(Window& w, const RECT& area) {
    const RECT client = w.Client();
    RECT cut =
        RectIntersection(area, {0, 0, client.right - client.left, client.bottom - client.top});
    if (RectEmpty(cut)) {
        return;
    }
    w.update.Add(cut);
    for (HWND h : ChildrenOf(w.handle)) {
        Window* child = WindowFromHandle(h);
        if (!child->visible) {
            continue;
        }
        const RECT c = child->Client();
        Invalidate(*child,
                   {cut.left - c.left, cut.top - c.top, cut.right - c.left, cut.bottom - c.top});
        child->frame_needs_paint = true;
    }
}

// A device context on the window (its client area, or all of it) or on the screen.
HDC MakeDC(HWND window, bool whole_window, const Region* update) {
    const PixelBuffer& screen = DisplayPixels();
    RECT area = {0, 0, screen.width, screen.height};
    Region clip(area);
    if (window) {
        if (!UserWindowScreenRect(window, !whole_window, &area)) {
            return nullptr;
        }
        clip = UserVisibleRegion(window);
        clip.Intersect(area);
        if (update) {
            Region inside = *update;
            inside.Offset(area.left, area.top);
            clip.Intersect(inside);
        }
    }
    HDC dc = GdiCreateScreenDC({area.left, area.top}, clip);
    dcs_out[dc] = window;
    return dc;
}

bool GiveBack(HWND window, HDC dc) {
    const auto found = dcs_out.find(dc);
    if (found == dcs_out.end() || found->second != window) {
        return false;
    }
    dcs_out.erase(found);
    return GdiDeleteScreenDC(dc);
}

// Draws one ring of a frame around `r` and moves `r` inside it.
void Ring(HDC dc, RECT* r, COLORREF top_left, COLORREF bottom_right) {
    GdiFillRect(dc, {r->left, r->top, r->right, r->top + 1}, top_left);
    GdiFillRect(dc, {r->left, r->top, r->left + 1, r->bottom}, top_left);
    GdiFillRect(dc, {r->left, r->bottom - 1, r->right, r->bottom}, bottom_right);
    GdiFillRect(dc, {r->right - 1, r->top + 1, r->right, r->bottom}, bottom_right);
    *r = {r->left + 1, r->top + 1, r->right - 1, r->bottom - 1};
}

} // namespace

void MarkForPaint(Window& w) {
    const RECT client = w.Client();
    Invalidate(w, {0, 0, client.right - client.left, client.bottom - client.top});
    w.frame_needs_paint = true;
}

RECT FrameWidths(DWORD style, DWORD ex_style) {
    LONG width = 0;
    if (ex_style & WS_EX_DLGMODALFRAME) {
        width = 3; // SM_CXDLGFRAME, which takes the place of a border
    } else if (style & WS_BORDER) {
        width = 1; // SM_CXBORDER
    }
    if (ex_style & WS_EX_CLIENTEDGE) {
        width += 2; // SM_CXEDGE
    }
    return {width, width, width, width};
}

void DrawFrame(HWND window) {
    const Window* w = WindowFromHandle(window);
    const RECT widths = w ? FrameWidths(w->style, w->ex_style) : RECT{};
    if (widths.left == 0) {
        return;
    }
    HDC dc = GetWindowDC(window);
    RECT r = {0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    if (w->ex_style & WS_EX_DLGMODALFRAME) {
        // A raised edge, two rings lit from the top left, and a ring of the face colour.
        Ring(dc, &r, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
        Ring(dc, &r, GetSysColor(COLOR_3DHILIGHT), GetSysColor(COLOR_3DSHADOW));
        Ring(dc, &r, GetSysColor(COLOR_3DFACE), GetSysColor(COLOR_3DFACE));
    } else if (w->style & WS_BORDER) {
        Ring(dc, &r, GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME));
    }
    if (w->ex_style & WS_EX_CLIENTEDGE) {
        // A sunken edge: the raised one's colours the other way round.
        Ring(dc, &r, GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DHILIGHT));
        Ring(dc, &r, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    }
    ReleaseDC(window, dc);
}

void PaintReset() {
    for (const auto& [dc, window] : dcs_out) {
        GdiDeleteScreenDC(dc);
    }
    dcs_out.clear();
}

// The classic Windows scheme: the look of the DirectDraw 7 years.
DWORD WINAPI GetSysColor(int index) {
    switch (index) {
    case COLOR_WINDOW:
    case COLOR_3DHILIGHT:
        return RGB(255, 255, 255);
    case COLOR_WINDOWFRAME:
    case COLOR_WINDOWTEXT:
    case COLOR_3DDKSHADOW:
        return RGB(0, 0, 0);
    case COLOR_3DFACE:
    case COLOR_3DLIGHT:
        return RGB(192, 192, 192);
    case COLOR_3DSHADOW:
    case COLOR_GRAYTEXT:
        return RGB(128, 128, 128);
    default:
        return 0;
    }
}

int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    COLORREF color = 0;
    const uintptr_t value = reinterpret_cast<uintptr_t>(brush);
    if (!rect) {
        return 0;
    }
    if (value > 0 && value <= COLOR_3DLIGHT + 1) {
        color = GetSysColor(static_cast<int>(value - 1)); // a system colour as COLOR_* + 1
    } else if (!GdiBrushColor(brush, &color)) {
        return 0;
    }
    return GdiFillRect(dc, *rect, color) ? 1 : 0;
}

BOOL WINAPI InvertRect(HDC dc, const RECT* rect) {
    return rect && GdiInvertRect(dc, *rect);
}

HDC WINAPI GetDC(HWND window) {
    return window && !WindowFromHandle(window) ? nullptr : MakeDC(window, false, nullptr);
}

HDC WINAPI GetWindowDC(HWND window) {
    return window && !WindowFromHandle(window) ? nullptr : MakeDC(window, true, nullptr);
}

int WINAPI ReleaseDC(HWND window, HDC dc) {
    return GiveBack(window, dc) ? 1 : 0;
}

HDC WINAPI BeginPaint(HWND window, LPPAINTSTRUCT paint) {
    Window* w = WindowFromHandle(window);
    if (!w || !paint) {
        return nullptr;
    }
    if (w->frame_needs_paint) {
        w->frame_needs_paint = false;
        SendTo(window, WM_NCPAINT, 1, 0);
        if ((w = WindowFromHandle(window)) == nullptr) {
            return nullptr;
        }
    }
    const Region update = w->update;
    w->update = Region();
    CaretHideForPaint(window);
    *paint = {};
    paint->hdc = MakeDC(window, false, &update);
    paint->rcPaint = update.Bounds();
    return paint->hdc;
}

BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT* paint) {
    const bool given_back = paint && GiveBack(window, paint->hdc);
    CaretShowAfterPaint(window);
    return given_back;
}

BOOL WINAPI InvalidateRect(HWND window, const RECT* rect, BOOL) {
    Window* w = WindowFromHandle(window);
    if (!w) {
        return FALSE;
    }
    if (rect) {
        Invalidate(*w, *rect);
    } else {
        MarkForPaint(*w);
    }
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND window, const RECT* rect) {
    Window* w = WindowFromHandle(window);
    if (!w) {
        return FALSE;
    }
    if (rect) {
        w->update.Subtract(*rect);
    } else {
        w->update = Region();
    }
    return TRUE;
}
