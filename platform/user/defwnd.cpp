// Zobu 4 platform floor: DefWindowProcA, what a window does with a message it leaves to the
// system.
#include "user_private.h"

#include <algorithm>

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = WindowFromHandle(window);
    if (!w) {
        return 0;
    }
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_NCCALCSIZE: {
        // The client area is what the frame leaves of the window.
        auto* rect = reinterpret_cast<RECT*>(lParam);
        const RECT frame = FrameWidths(w->style, w->ex_style);
        if (rect) {
            *rect = {rect->left + frame.left, rect->top + frame.top, rect->right - frame.right,
                     rect->bottom - frame.bottom};
        }
        return 0;
    }
    case WM_NCPAINT:
        DrawFrame(window);
        return 0;
    case WM_NCACTIVATE:
        return TRUE;
    case WM_WINDOWPOSCHANGED: {
        // What moved and what changed size hears of it, client area first.
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        const RECT client = w->Client();
        if (pos && !(pos->flags & SWP_NOMOVE)) {
            SendTo(window, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
        }
        if (pos && !(pos->flags & SWP_NOSIZE)) {
            SendTo(window, WM_SIZE, SIZE_RESTORED,
                   MAKELPARAM(client.right - client.left, client.bottom - client.top));
        }
        return 0;
    }
    case WM_SETTEXT:
        w->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
        return TRUE;
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(w->text.size());
    case WM_GETTEXT: {
        if (wParam == 0 || lParam == 0) {
            return 0;
        }
        const size_t n = std::min<size_t>(w->text.size(), wParam - 1);
        w->text.copy(reinterpret_cast<LPSTR>(lParam), n);
        reinterpret_cast<LPSTR>(lParam)[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            SetFocus(window);
        }
        return 0;
    case WM_SETCURSOR:
        // A child's parent decides first; over the client area the class cursor shows (none,
        // when the class has none).
        if (w->parent && SendTo(w->parent, WM_SETCURSOR, wParam, lParam)) {
            return TRUE;
        }
        if (LOWORD(lParam) == HTCLIENT) {
            SetCursor(w->class_cursor);
        }
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
        // Read-only edits and static text on the face colour, editable text on the window's.
        const int back = message == WM_CTLCOLORSTATIC ? COLOR_3DFACE : COLOR_WINDOW;
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(back));
        return static_cast<LRESULT>(back) + 1; // the system colour's brush
    }
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            SendTo(window, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_SYSKEYDOWN:
        // Alt+F4 closes the top-level window that got the key: with a dialog's control
        // focused, the dialog, whose owner lives on. The context bit, not the message, says
        // whether Alt is down: with no focus every key is a system key.
        if (wParam == VK_F4 && (HIWORD(lParam) & KF_ALTDOWN)) {
            PostMessageA(TopLevelOf(window), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    default:
        return 0;
    }
}
