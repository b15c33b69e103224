// Helpers for tests that use DirectDraw: objects made the way the game makes them, pixels
// read back through a lock, and result codes printed by name.
#pragma once

#include <ddraw.h>

#include "support/platform_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// "DDERR_SURFACELOST (0x887601c2)" and the like, for failure messages.
std::string HresultName(HRESULT hr);

#define EXPECT_HR(expected, actual) EXPECT_EQ(HresultName(expected), HresultName(actual))
#define ASSERT_HR(expected, actual) ASSERT_EQ(HresultName(expected), HresultName(actual))

// A new DirectDraw object, at no cooperative level yet.
IDirectDraw7* NewDirectDraw();

// A surface description, its size set and the rest empty.
DDSURFACEDESC2 EmptyDesc();

// The primary with its back buffer (one reference each, the back buffer's from
// GetAttachedSurface).
void MakePrimary(IDirectDraw7* dd, IDirectDrawSurface7** primary, IDirectDrawSurface7** back);

// An off-screen surface; bits 16 (5:6:5), 15 (5:5:5), 32, or 0 for the display's format.
IDirectDrawSurface7* MakeSurface(IDirectDraw7* dd, DWORD width, DWORD height, int bits = 0,
                                 DWORD caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY);

// One raw pixel, read through a lock; 0xFFFFFFFF when the lock fails.
DWORD ReadPixel(IDirectDrawSurface7* surface, int x, int y);

// Fills the surface (or a rectangle of it) with a raw value through Blt.
void Fill(IDirectDrawSurface7* surface, DWORD raw, RECT* rect = nullptr);

// How many pixels of the rectangle hold the raw value.
int CountPixels(IDirectDrawSurface7* surface, RECT area, DWORD raw);

// The top row's first pixels, raw; and setting them one by one.
std::vector<DWORD> TopRow(IDirectDrawSurface7* surface, int width);
void FillTopRow(IDirectDrawSurface7* surface, const std::vector<DWORD>& raw);

// Expects every DirectDraw object, surface and clipper to have been released.
void ExpectAllReleased();

// The count a further AddRef/Release pair reports: the object's current count.
ULONG RefCount(IUnknown* object);

// A shown pop-up window and a DirectDraw object in exclusive mode on it. At the end every
// DirectDraw object, surface and clipper must have been released: each test gives back
// what it took.
class DirectDrawTest : public PlatformTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // MakeSurface on `dd`, released by the fixture at the end.
    IDirectDrawSurface7* Surface(DWORD width, DWORD height, int bits = 0,
                                 DWORD caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY);

    HWND window = nullptr;
    IDirectDraw7* dd = nullptr;

  private:
    std::vector<IDirectDrawSurface7*> surfaces_;
};
