// Zobu 4 platform floor: GDI colours.
#pragma once

#include "windef.h"

// COLORREF is 0x00BBGGRR.
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) (LOBYTE(c))
#define GetGValue(c) (LOBYTE(((WORD)(c)) >> 8))
#define GetBValue(c) (LOBYTE((c) >> 16))

// Not a colour: what GetPixel answers outside the bitmap.
#define CLR_INVALID 0xFFFFFFFF
