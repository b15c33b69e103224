// Zobu 4 platform floor: GDI, the part of it the game and its score panel use.
#pragma once

#include "windef.h"

// COLORREF is 0x00BBGGRR.
#define RGB(r, g, b)                                                                               \
    ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) (LOBYTE(c))
#define GetGValue(c) (LOBYTE(((WORD)(c)) >> 8))
#define GetBValue(c) (LOBYTE((c) >> 16))

// Not a colour: what GetPixel answers outside the bitmap or the visible region.
#define CLR_INVALID 0xFFFFFFFF

typedef struct tagBITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
} BITMAP, *PBITMAP, *LPBITMAP;

// GetStockObject
#define SYSTEM_FONT 13
#define DEFAULT_GUI_FONT 17

// BitBlt, StretchBlt
#define SRCCOPY (DWORD)0x00CC0020

// SetStretchBltMode
#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define HALFTONE 4

// SetBkMode
#define TRANSPARENT 1
#define OPAQUE 2

// CombineRgn: modes, and the kinds of region it reports
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3

// GetRegionData: a region's rectangles, in Windows' y-x band order, after this header.
typedef struct _RGNDATAHEADER {
    DWORD dwSize;
    DWORD iType;
    DWORD nCount;
    DWORD nRgnSize;
    RECT rcBound;
} RGNDATAHEADER, *PRGNDATAHEADER;

typedef struct _RGNDATA {
    RGNDATAHEADER rdh;
    char Buffer[1];
} RGNDATA, *PRGNDATA, *LPRGNDATA;

#define RDH_RECTANGLES 1

HBRUSH WINAPI CreateSolidBrush(COLORREF color);
HDC WINAPI CreateCompatibleDC(HDC dc);
BOOL WINAPI DeleteDC(HDC dc);
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object);
BOOL WINAPI DeleteObject(HGDIOBJ object);
int WINAPI GetObjectA(HANDLE object, int size, LPVOID buffer);
HGDIOBJ WINAPI GetStockObject(int index);
HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height);

BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int srcX, int srcY,
                   DWORD rop);
BOOL WINAPI StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int srcX,
                       int srcY, int srcWidth, int srcHeight, DWORD rop);
int WINAPI SetStretchBltMode(HDC dc, int mode);
int WINAPI GetStretchBltMode(HDC dc);
COLORREF WINAPI GetPixel(HDC dc, int x, int y);
COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF color);

COLORREF WINAPI SetBkColor(HDC dc, COLORREF color);
COLORREF WINAPI SetTextColor(HDC dc, COLORREF color);
int WINAPI SetBkMode(HDC dc, int mode);
BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int length);
BOOL WINAPI GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, LPSIZE size);

HRGN WINAPI CreateRectRgn(int left, int top, int right, int bottom);
int WINAPI CombineRgn(HRGN dest, HRGN source1, HRGN source2, int mode);
BOOL WINAPI PtInRegion(HRGN region, int x, int y);
int WINAPI GetRgnBox(HRGN region, LPRECT rect);
DWORD WINAPI GetRegionData(HRGN region, DWORD size, LPRGNDATA data);
