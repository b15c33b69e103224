// Zobu 4: the one item the Dropper lets fall, and the score it keeps.
//
// A drop launches the item under the middle of the Dropper; each tick of the fall timer
// moves it 6 pixels down and tests its centre against the Pot's mouth, the top 8 rows of
// the Pot. A catch or the floor ends the flight, and the score "hits/drops" goes to the
// score panel.
#pragma once

#include <ddraw.h>
#include <windows.h>

#include <stdint.h>

class Image;
class Screen;

class FallingItem {
  public:
    FallingItem();
    virtual ~FallingItem();

    // Starts a flight at (x, y), with one of the two arts drawn at random. Returns 0.
    int Launch(int32_t x, int32_t y);

    // One tick of the flight. Returns 0 while falling, 1 when it ended on the floor,
    // 2 when the mouth caught it.
    int Fall(int32_t mouthX, int32_t mouthY, int32_t mouthWidth, int32_t mouthHeight);

    // Returns 1, and ends the flight, when the item's centre lies strictly inside the
    // mouth; 0 otherwise.
    int HitTest(int32_t mouthX, int32_t mouthY, int32_t mouthWidth, int32_t mouthHeight);

    // Writes "hits/drops" into buffer, zero-filled over all `size` bytes first, and never
    // past its end. Returns 0.
    int FormatScore(char* buffer, int32_t size);

    // Loads "Bitmaps\ZOBU1.bmp" into image1, then "Bitmaps\ZOBU2.bmp" into image2, each
    // at 32 x 32 keyed on magenta; stops at the first failure and returns it, else 0.
    HRESULT LoadArt(Screen* screen);

    // Draws the item in flight with the art its state names (1: image1, 2: image2), keyed,
    // at (x, y) of the back buffer; an idle item draws nothing. Returns 0.
    int Draw(Screen* screen, IDirectDrawSurface7*& backBuffer);

    int32_t x;     // left edge in flight
    int32_t y;     // top edge in flight
    int32_t state; // 0 idle, 1 in flight with image1, 2 in flight with image2
    int32_t drops; // flights launched since start
    int32_t hits;  // flights caught since start
    Image* image1; // 32 x 32
    Image* image2; // 32 x 32
};

extern class FallingItem FallingItem;

// The drop command: launches the item unless one is already in flight.
void OnDropCommand();

// Timer procedure of TIMER_FALL; ignores its arguments.
void CALLBACK OnFallTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
