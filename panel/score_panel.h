// Zobu 4: the score panel, a frameless modeless dialog painted with its skin bitmap and cut
// to the skin's shape. Start-up opens it from the template IDD_SCORE with ScorePanelProc;
// the end of each flight writes the score into its edit box, IDC_SCORE.
#pragma once

#include <windows.h>

// The panel's dialog procedure: loads the skin and cuts the window to it on WM_INITDIALOG
// (answering 1, so the edit box gets the focus), paints the skin on WM_PAINT, and forgets
// `scorePanel` on WM_DESTROY. Every other message is left to the system (0).
INT_PTR CALLBACK ScorePanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The union of the one-pixel-high runs of pixels of the `dc`'s bitmap, over width x height,
// whose colour differs from the top-left pixel's; null when there is none.
HRGN RegionFromBitmap(HDC dc, int width, int height);
