// Zobu 4 platform floor: window classes and windows: creation, destruction, painting flags,
// queries, and where each window lies on the screen.
#include "user_private.h"
#include "window_geometry.h"

#include "../gdi/gdi_private.h"

#include <strings.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace {

struct WindowClass {
    std::string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
};

// Registered classes, the system's first; the program's atoms count up from 0xC000 as
// Windows' string atoms do.
std::vector<WindowClass> classes;
ATOM next_atom = 0xC000;
// Live windows by handle. Handles are never reused, so a stale handle stays invalid.
std::map<HWND, std::unique_ptr<Window>> windows;
// Creation order of the live windows, oldest first.
std::vector<HWND> creation_order;
// The next handle value to hand out; spaced like Windows' handles, never zero.
uintptr_t next_handle = 0x10010;

// The system's classes exist before any window, and again after a reset.
void RegisterSystemClasses() {
    if (!classes.empty()) {
        return;
    }
    auto add = [](const char* name, ATOM atom, WNDPROC procedure, LPCSTR cursor) {
        WindowClass c;
        c.name = name;
        c.atom = atom;
        c.procedure = procedure;
        c.cursor = LoadCursorA(nullptr, cursor);
        classes.push_back(c);
    };
    add("Edit", kEditClassAtom, EditWindowProc, IDC_IBEAM);
    add("#32770", kDialogClassAtom, DialogWindowProc, IDC_ARROW);
}

const WindowClass* FindClass(LPCSTR name) {
    RegisterSystemClasses();
    for (const WindowClass& c : classes) {
        if (IS_INTRESOURCE(name) ? c.atom == LOWORD(name) : strcasecmp(c.name.c_str(), name) == 0) {
            return &c;
        }
    }
    return nullptr;
}

// WM_DESTROY goes to a window before its children.
void SendDestroy(HWND handle) {
    SendTo(handle, WM_DESTROY, 0, 0);
    for (HWND child : ChildrenOf(handle)) {
        if (WindowFromHandle(child)) {
            SendDestroy(child);
        }
    }
}

// WM_NCDESTROY goes to a window's children before it, and then the window is gone.
void Free(HWND handle) {
    for (HWND child : ChildrenOf(handle)) {
        if (WindowFromHandle(child)) {
            Free(child);
        }
    }
    SendTo(handle, WM_NCDESTROY, 0, 0);
    TimersForgetWindow(handle);
    CaretForgetWindow(handle);
    QueueForgetWindow(handle);
    WinPosForget(handle);
    creation_order.erase(std::remove(creation_order.begin(), creation_order.end(), handle),
                         creation_order.end());
    windows.erase(handle);
}

} // namespace

std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> children;
    for (HWND h : creation_order) {
        if (WindowFromHandle(h)->parent == parent) {
            children.push_back(h);
        }
    }
    return children;
}

RECT Window::Client() const {
    RECT c = {rect.left + nonclient.left, rect.top + nonclient.top, rect.right - nonclient.right,
              rect.bottom - nonclient.bottom};
    c.right = std::max(c.right, c.left);
    c.bottom = std::max(c.bottom, c.top);
    return c;
}

bool WindowContainsPoint(const Window& w, POINT p) {
    RECT r;
    UserWindowScreenRect(w.handle, false, &r);
    if (p.x < r.left || p.y < r.top || p.x >= r.right || p.y >= r.bottom) {
        return false;
    }
    return !w.has_shape || w.shape.Contains(p.x - r.left, p.y - r.top);
}

bool Window::HasClientArea() const {
    return !RectEmpty(Client());
}

Window* WindowFromHandle(HWND handle) {
    auto found = windows.find(handle);
    return found == windows.end() ? nullptr : found->second.get();
}

LRESULT SendTo(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = WindowFromHandle(handle);
    return (w && w->procedure) ? w->procedure(handle, message, wParam, lParam) : 0;
}

HWND RootOwner(HWND handle) {
    Window* w = WindowFromHandle(handle);
    while (w && (w->parent || w->owner)) {
        Window* up = WindowFromHandle(w->parent ? w->parent : w->owner);
        if (!up) {
            break;
        }
        w = up;
    }
    return w ? w->handle : nullptr;
}

HWND TopLevelOf(HWND handle) {
    Window* w = WindowFromHandle(handle);
    while (w && w->parent) {
        w = WindowFromHandle(w->parent);
    }
    return w ? w->handle : nullptr;
}

bool IsSelfOrChild(HWND ancestor, HWND descendant) {
    for (Window* w = WindowFromHandle(descendant); w; w = WindowFromHandle(w->parent)) {
        if (w->handle == ancestor) {
            return true;
        }
    }
    return false;
}

HWND FindWindowToPaint(const MessageFilter& filter) {
    for (HWND h : creation_order) {
        const Window* w = WindowFromHandle(h);
        if (w->WantsPaint() && filter.Accepts(h, WM_PAINT)) {
            return h;
        }
    }
    return nullptr;
}

HWND MainWindowForClose() {
    if (HWND active = GetActiveWindow()) {
        return RootOwner(active);
    }
    for (HWND h : creation_order) {
        if (WindowFromHandle(h)->IsTopLevel()) {
            return h;
        }
    }
    return nullptr;
}

void RepaintAllWindows() {
    for (HWND h : creation_order) {
        Window* w = WindowFromHandle(h);
        if (w->visible && w->IsTopLevel()) {
            MarkForPaint(*w);
        }
    }
}

size_t UserLiveWindows() {
    return windows.size();
}

void WindowsReset() {
    classes.clear();
    next_atom = 0xC000;
    windows.clear();
    creation_order.clear();
    WinPosReset();
    PaintReset();
}

void UserReset() {
    WindowsReset();
    QueueReset();
    TimersReset();
    KeyboardReset();
    MouseReset();
    AcceleratorsReset();
    CursorReset();
    CaretReset();
}

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
    if (!windowClass || !windowClass->lpszClassName || IS_INTRESOURCE(windowClass->lpszClassName) ||
        FindClass(windowClass->lpszClassName)) {
        return 0;
    }
    WindowClass c;
    c.name = windowClass->lpszClassName;
    c.atom = next_atom++;
    c.style = windowClass->style;
    c.procedure = windowClass->lpfnWndProc;
    c.instance = windowClass->hInstance;
    c.cursor = windowClass->hCursor;
    c.background = windowClass->hbrBackground;
    classes.push_back(c);
    return c.atom;
}

BOOL WINAPI GetClassInfoA(HINSTANCE instance, LPCSTR className, LPWNDCLASSA windowClass) {
    const WindowClass* c = className && windowClass ? FindClass(className) : nullptr;
    if (!c || c->instance != instance) {
        return FALSE;
    }
    *windowClass = WNDCLASSA();
    windowClass->style = c->style;
    windowClass->lpfnWndProc = c->procedure;
    windowClass->hInstance = c->instance;
    windowClass->hCursor = c->cursor;
    windowClass->hbrBackground = c->background;
    windowClass->lpszClassName = className;
    return TRUE;
}

// Windows' order: WM_NCCREATE, WM_NCCALCSIZE (which sets the client area), WM_CREATE, then
// WM_SIZE and WM_MOVE for the client area it came out with; WS_VISIBLE shows it last.
HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    const WindowClass* c = className ? FindClass(className) : nullptr;
    if (!c) {
        return nullptr;
    }
    auto w = std::make_unique<Window>();
    if (style & WS_CHILD) {
        if (!WindowFromHandle(parent)) {
            return nullptr;
        }
        w->parent = parent;
        w->id = reinterpret_cast<UINT_PTR>(menu);
    } else if (parent) {
        if (!WindowFromHandle(parent)) {
            return nullptr;
        }
        w->owner = RootOwner(parent);
    }
    // CW_USEDEFAULT: pop-ups and children come out at (0, 0) with no extent, as on Windows;
    // an overlapped window gets three quarters of the screen.
    const bool overlapped = (style & (WS_POPUP | WS_CHILD)) == 0;
    if (x == CW_USEDEFAULT) {
        x = y = 0;
    }
    if (width == CW_USEDEFAULT) {
        width = overlapped ? DisplayPixels().width * 3 / 4 : 0;
        height = overlapped ? DisplayPixels().height * 3 / 4 : 0;
    }
    w->handle = reinterpret_cast<HWND>(next_handle);
    next_handle += 0x10;
    w->procedure = c->procedure;
    w->instance = instance;
    w->class_cursor = c->cursor;
    w->style = style & ~static_cast<DWORD>(WS_VISIBLE);
    w->ex_style = exStyle;
    w->rect = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
    w->text = windowName ? windowName : "";
    const HWND handle = w->handle;
    windows[handle] = std::move(w);
    creation_order.push_back(handle);
    if (!(style & WS_CHILD)) {
        WinPosAdd(handle);
    }

    CREATESTRUCTA create = {
        param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
        windowName, className, exStyle};
    if (!SendTo(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (Window* created = WindowFromHandle(handle)) {
        RECT client = created->rect;
        SendTo(handle, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&client));
        if ((created = WindowFromHandle(handle)) != nullptr) {
            const RECT& r = created->rect;
            created->nonclient = {std::max<LONG>(client.left - r.left, 0),
                                  std::max<LONG>(client.top - r.top, 0),
                                  std::max<LONG>(r.right - client.right, 0),
                                  std::max<LONG>(r.bottom - client.bottom, 0)};
        }
    }
    if (SendTo(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (const Window* created = WindowFromHandle(handle)) {
        const RECT client = created->Client();
        SendTo(handle, WM_SIZE, SIZE_RESTORED,
               MAKELPARAM(client.right - client.left, client.bottom - client.top));
        SendTo(handle, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
    }
    if ((style & WS_VISIBLE) && WindowFromHandle(handle)) {
        ShowWindow(handle, SW_SHOW);
    }
    return WindowFromHandle(handle) ? handle : nullptr;
}

BOOL WINAPI UpdateWindow(HWND window) {
    Window* w = WindowFromHandle(window);
    if (!w) {
        return FALSE;
    }
    if (w->WantsPaint()) {
        SendTo(window, WM_PAINT, 0, 0);
    }
    return TRUE;
}

// A shown window is hidden first (without WM_SHOWWINDOW) and, if it was active, activation
// passes on; owned windows are destroyed next; then WM_DESTROY and WM_NCDESTROY.
BOOL WINAPI DestroyWindow(HWND window) {
    Window* w = WindowFromHandle(window);
    if (!w || w->destroying) {
        return FALSE;
    }
    w->destroying = true;
    if (w->visible) {
        WinPosSet(window, w->rect,
                  SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    }
    if (window == GetActiveWindow()) {
        ActivateOther(window);
    }
    if (GetFocus() && IsSelfOrChild(window, GetFocus())) {
        SetFocus(nullptr);
    }
    for (HWND h : std::vector<HWND>(creation_order)) {
        const Window* owned = WindowFromHandle(h);
        if (owned && owned->owner == window && !owned->destroying) {
            DestroyWindow(h);
        }
    }
    if (!WindowFromHandle(window)) {
        return TRUE;
    }
    SendDestroy(window);
    Free(window);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND window) {
    return WindowFromHandle(window) != nullptr;
}

BOOL WINAPI IsWindowVisible(HWND window) {
    for (Window* w = WindowFromHandle(window); w; w = WindowFromHandle(w->parent)) {
        if (!w->visible) {
            return FALSE;
        }
        if (!w->parent) {
            return TRUE;
        }
    }
    return FALSE;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND window, int index) {
    const Window* w = WindowFromHandle(window);
    if (!w) {
        return 0;
    }
    switch (index) {
    case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(w->procedure);
    case GWLP_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(w->parent ? w->parent : w->owner);
    case GWLP_ID:
        return static_cast<LONG_PTR>(w->id);
    case GWL_STYLE:
        return static_cast<LONG_PTR>(static_cast<LONG>(w->style | (w->visible ? WS_VISIBLE : 0)));
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(static_cast<LONG>(w->ex_style));
    case GWLP_USERDATA:
        return w->user_data;
    default:
        return 0;
    }
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

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendTo(window, message, wParam, lParam);
}

LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int itemId, UINT message, WPARAM wParam,
                                   LPARAM lParam) {
    HWND item = GetDlgItem(dialog, itemId);
    return item ? SendTo(item, message, wParam, lParam) : 0;
}

HWND WINAPI GetDlgItem(HWND dialog, int itemId) {
    if (!WindowFromHandle(dialog)) {
        return nullptr;
    }
    for (HWND h : ChildrenOf(dialog)) {
        if (WindowFromHandle(h)->id == static_cast<UINT_PTR>(itemId)) {
            return h;
        }
    }
    return nullptr;
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
