// Zobu 4 platform floor: the edit control, class "Edit" (atom 0x0081).
//
// What the score panel needs of it: one line of text set and read with WM_SETTEXT,
// WM_GETTEXT and WM_GETTEXTLENGTH, drawn in the font WM_SETFONT gave it and redrawn when it
// changes; its frame (WS_BORDER, WS_EX_DLGMODALFRAME, WS_EX_CLIENTEDGE) drawn by the default
// procedure in the non-client area. Its background comes from the parent's answer to
// WM_CTLCOLORSTATIC for a read-only edit (the face colour by default, as Windows draws them) or
// WM_CTLCOLOREDIT for another (the window colour). The text starts at the left of the client area
// and is cut at its right edge: a new text shows from its start, as after WM_SETTEXT on Windows, so
// ES_AUTOHSCROLL changes nothing that shows.
//
// With the focus it shows the caret, a bar as tall as the font at the insertion point, which
// stays at the text's start.
//
// Keys change nothing: the game's edit is ES_READONLY, and the game translates no keys into
// characters, so typing is not implemented for any edit.
#include "user_private.h"

#include <string.h>

namespace {

// Where the text starts in the client area: Windows leaves one pixel on the left, and a
// 13-pixel line fills the panel's 13-pixel-high box.
constexpr int kMarginX = 1;
constexpr int kMarginY = 0;

void Paint(HWND window) {
    const Window* w = WindowFromHandle(window);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (!w || !dc) {
        return;
    }
    RECT client;
    GetClientRect(window, &client);
    const UINT colour_message = (w->style & ES_READONLY) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    const WPARAM dc_param = reinterpret_cast<WPARAM>(dc);
    const LPARAM self = reinterpret_cast<LPARAM>(window);
    LRESULT brush = w->parent ? SendTo(w->parent, colour_message, dc_param, self) : 0;
    if (!brush) {
        brush = DefWindowProcA(window, colour_message, dc_param, self);
    }
    if ((w = WindowFromHandle(window)) == nullptr) {
        EndPaint(window, &paint);
        return;
    }
    FillRect(dc, &client, reinterpret_cast<HBRUSH>(brush));
    HGDIOBJ previous_font = SelectObject(dc, w->font ? w->font : GetStockObject(SYSTEM_FONT));
    TextOutA(dc, kMarginX, kMarginY, w->text.c_str(), static_cast<int>(w->text.size()));
    SelectObject(dc, previous_font);
    EndPaint(window, &paint);
}

} // namespace

LRESULT CALLBACK EditWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = WindowFromHandle(window);
    if (!w) {
        return 0;
    }
    switch (message) {
    case WM_SETFONT:
        w->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) {
            InvalidateRect(window, nullptr, TRUE);
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(w->font);
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, TRUE);
        return result;
    }
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_SETFOCUS: {
        // The caret, as tall as the font's line, at the insertion point: the text's start,
        // where a new text puts it.
        HDC dc = GetDC(window);
        HGDIOBJ previous_font = SelectObject(dc, w->font ? w->font : GetStockObject(SYSTEM_FONT));
        SIZE line = {0, 0};
        GetTextExtentPoint32A(dc, "0", 1, &line);
        SelectObject(dc, previous_font);
        ReleaseDC(window, dc);
        CreateCaret(window, nullptr, 1, line.cy);
        SetCaretPos(kMarginX, kMarginY);
        ShowCaret(window);
        return 0;
    }
    case WM_KILLFOCUS:
        DestroyCaret();
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
