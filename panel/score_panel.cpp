// Zobu 4: the score panel.
#include "panel/score_panel.h"

#include "app/state.h"
#include "res/resource.h"

namespace {

// Adds the run from `start` to `end` of row `y` to `result`, its first rectangle or one more.
void AddRun(HRGN* result, int start, int end, int y) {
    HRGN run = CreateRectRgn(start, y, end, y + 1);
    if (*result == nullptr) {
        *result = run;
        return;
    }
    CombineRgn(*result, *result, run, RGN_OR);
    DeleteObject(run);
}

} // namespace

HRGN RegionFromBitmap(HDC dc, int width, int height) {
    const COLORREF transparent = GetPixel(dc, 0, 0);
    HRGN result = nullptr;
    bool open = false;
    int start = 0;
    for (int y = 0; y < height; ++y) {
        // One column past the end closes the run that reaches the last column: runs never
        // cross rows.
        for (int x = 0; x <= width; ++x) {
            if (x != width && GetPixel(dc, x, y) != transparent) {
                if (!open) {
                    open = true;
                    start = x;
                }
            } else if (open) {
                open = false;
                AddRun(&result, start, x, y);
            }
        }
    }
    return result;
}

INT_PTR CALLBACK ScorePanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    switch (message) {
    case WM_INITDIALOG: {
        panelSkin = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_SCORE_SKIN));
        HDC windowDC = GetWindowDC(dialog);
        HDC memoryDC = CreateCompatibleDC(windowDC);
        SelectObject(memoryDC, panelSkin);
        RECT client;
        GetClientRect(dialog, &client);
        // The window owns the region from here on; with none it keeps its rectangle.
        SetWindowRgn(dialog, RegionFromBitmap(memoryDC, client.right, client.bottom), TRUE);
        ReleaseDC(dialog, windowDC);
        DeleteDC(memoryDC);
        return 1;
    }
    case WM_PAINT: {
        RECT client;
        GetClientRect(dialog, &client);
        PAINTSTRUCT paint;
        HDC paintDC = BeginPaint(dialog, &paint);
        HDC memoryDC = CreateCompatibleDC(paintDC);
        SelectObject(memoryDC, panelSkin);
        BitBlt(paintDC, 0, 0, client.right, client.bottom, memoryDC, 0, 0, SRCCOPY);
        DeleteDC(memoryDC);
        EndPaint(dialog, &paint);
        return 0;
    }
    case WM_COMMAND:
        // The panel's close (Alt+F4 while its edit box has the focus) is the game's: the
        // dialog manager dresses it as Cancel, and left alone it would close nothing.
        if (LOWORD(wParam) == IDCANCEL) {
            SendMessageA(mainWindow, WM_CLOSE, 0, 0);
            return 1;
        }
        return 0;
    case WM_DESTROY:
        scorePanel = nullptr;
        return 0;
    default:
        return 0;
    }
}
