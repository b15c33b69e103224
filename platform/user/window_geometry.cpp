// Zobu 4 platform floor: where each window lies on the screen: its rectangles, its shape
// (SetWindowRgn), what of it shows, and which window is under a point.
#include "user_private.h"
#include "window_geometry.h"

#include "../gdi/gdi_private.h"

#include <algorithm>
#include <vector>

RECT Window::Client() const {
    RECT c = {rect.left + nonclient.left, rect.top + nonclient.top, rect.right - nonclient.right,
              rect.bottom - nonclient.bottom};
    c.right = std::max(c.right, c.left);
    c.bottom = std::max(c.bottom, c.top);
    return c;
}

bool WindowContainsPoint(const Window& w, POINT p) {
    RECT r;
    if (!UserWindowScreenRect(w.handle, false, &r)) {
        return false;
    }
    if (p.x < r.left || p.y < r.top || p.x >= r.right || p.y >= r.bottom) {
        return false;
    }
    return !w.has_shape || w.shape.Contains(p.x - r.left, p.y - r.top);
}

bool Window::HasClientArea() const {
    return !RectEmpty(Client());
}

BOOL WINAPI GetClientRect(HWND window, LPRECT rect) {
    const Window* w = WindowFromHandle(window);
    if (!w || !rect) {
        return FALSE;
    }
    const RECT c = w->Client();
    *rect = {0, 0, c.right - c.left, c.bottom - c.top};
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND window, LPRECT rect) {
    return rect && UserWindowScreenRect(window, false, rect);
}

// The topmost visible window under the point, then the deepest of its visible children
// there; a window's shape decides, so a point in a cut-away corner finds what lies behind.
HWND WINAPI WindowFromPoint(POINT point) {
    const Window* found = nullptr;
    for (HWND h : TopLevelWindowsAbove(nullptr)) {
        const Window* w = WindowFromHandle(h);
        if (w->visible && WindowContainsPoint(*w, point)) {
            found = w;
            break;
        }
    }
    while (found) {
        const Window* deeper = nullptr;
        const std::vector<HWND> children = ChildrenOf(found->handle);
        for (auto it = children.rbegin(); it != children.rend() && !deeper; ++it) {
            const Window* child = WindowFromHandle(*it);
            if (child->visible && WindowContainsPoint(*child, point)) {
                deeper = child;
            }
        }
        if (!deeper) {
            break;
        }
        found = deeper;
    }
    return found ? found->handle : nullptr;
}

bool UserWindowScreenRect(HWND window, bool client, RECT* out) {
    const Window* w = WindowFromHandle(window);
    if (!w) {
        return false;
    }
    RECT r = client ? w->Client() : w->rect;
    for (const Window* p = WindowFromHandle(w->parent); p; p = WindowFromHandle(p->parent)) {
        const RECT origin = p->Client();
        r = {r.left + origin.left, r.top + origin.top, r.right + origin.left,
             r.bottom + origin.top};
    }
    *out = r;
    return true;
}

namespace {

// The window's rectangle on the screen, cut to its shape.
Region ShapeOnScreen(const Window& w) {
    RECT r;
    UserWindowScreenRect(w.handle, false, &r);
    Region area(r);
    if (w.has_shape) {
        Region shape = w.shape;
        shape.Offset(r.left, r.top);
        area.Intersect(shape);
    }
    return area;
}

} // namespace

Region UserVisibleRegion(HWND window) {
    if (!IsWindowVisible(window)) {
        return Region();
    }
    const Window* w = WindowFromHandle(window);
    Region visible = ShapeOnScreen(*w);
    for (const Window* p = WindowFromHandle(w->parent); p; p = WindowFromHandle(p->parent)) {
        visible.Intersect(ShapeOnScreen(*p));
    }
    visible.Intersect(RECT{0, 0, DisplayPixels().width, DisplayPixels().height});
    // Top-level windows above this one's top-level window hide what they cover.
    for (HWND h : TopLevelWindowsAbove(TopLevelOf(window))) {
        const Window* above = WindowFromHandle(h);
        if (above->visible) {
            visible.Subtract(ShapeOnScreen(*above));
        }
    }
    return visible;
}

int WINAPI SetWindowRgn(HWND window, HRGN region, BOOL redraw) {
    Window* w = WindowFromHandle(window);
    if (!w) {
        return 0;
    }
    Region shape;
    if (region && !GdiTakeRegion(region, &shape)) {
        return 0;
    }
    w->has_shape = region != nullptr;
    w->shape = std::move(shape);
    if (redraw && w->visible) {
        MarkForPaint(*w);
    }
    return 1;
}
