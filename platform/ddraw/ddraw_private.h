// Zobu 4 platform floor: our DirectDraw's objects.
//
// One C++ class per DirectDraw object, each implementing its interface. References follow
// COM: AddRef and Release return the new count, and an object ends when its count reaches
// zero. Every surface the program creates holds a reference to its DirectDraw object, as
// DirectDraw 7 surfaces do. A primary surface owns its attached back buffer, which holds no
// reference of its own to the DirectDraw object (the primary's stands for both): the back
// buffer is destroyed with the primary, whatever its own count, and not before.
#pragma once

#include <ddraw.h>

#include <optional>

#include "../gdi/gdi_private.h"
#include "ddraw_testing.h"

class DirectDraw;
class Clipper;

class Surface final : public IDirectDrawSurface7 {
  public:
    // `holds_owner`: whether the surface keeps a reference to its DirectDraw object.
    Surface(DirectDraw* owner, DWORD caps, PixelFormat format, int32_t width, int32_t height,
            bool holds_owner = true);
    ~Surface();

    // A FOURCC surface reports its format as its maker described it, flags and all.
    void KeepFourCCFormat(const DDPIXELFORMAT& format) { fourcc_format_ = format; }

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT Blt(LPRECT destRect, LPDIRECTDRAWSURFACE7 source, LPRECT sourceRect, DWORD flags,
                LPDDBLTFX fx) override;
    HRESULT BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE7 source, LPRECT sourceRect,
                    DWORD trans) override;
    HRESULT GetAttachedSurface(LPDDSCAPS2 caps, LPDIRECTDRAWSURFACE7* attached) override;
    HRESULT GetClipper(LPDIRECTDRAWCLIPPER* clipper) override;
    HRESULT GetColorKey(DWORD flags, LPDDCOLORKEY key) override;
    HRESULT GetDC(HDC* dc) override;
    HRESULT GetSurfaceDesc(LPDDSURFACEDESC2 desc) override;
    HRESULT IsLost() override;
    HRESULT Lock(LPRECT rect, LPDDSURFACEDESC2 desc, DWORD flags, HANDLE event) override;
    HRESULT ReleaseDC(HDC dc) override;
    HRESULT Restore() override;
    HRESULT SetClipper(LPDIRECTDRAWCLIPPER clipper) override;
    HRESULT SetColorKey(DWORD flags, LPDDCOLORKEY key) override;
    HRESULT Unlock(LPRECT rect) override;

    // The primary's back buffer, made with it.
    void AttachBackBuffer(Surface* back);
    // Display memory is taken away; system memory stays.
    void Lose() { lost_ = lost_ || !(caps_ & DDSCAPS_SYSTEMMEMORY); }
    bool IsPrimary() const { return (caps_ & DDSCAPS_PRIMARYSURFACE) != 0; }

  private:
    // Why the surface cannot be read or written now, or DD_OK.
    HRESULT Busy() const;
    void FillDesc(DDSURFACEDESC2* desc) const;
    // Why a blit cannot read `src` (null, busy, another format, a rectangle outside it), or
    // DD_OK with the source rectangle in *area.
    HRESULT CheckSource(Surface* src, const RECT* sourceRect, RECT* area) const;
    // Which pixels a blit onto this surface may touch, in its own coordinates.
    HRESULT ClipArea(Region* area) const;
    // Shows the screen after a write to the primary: any row may have changed, or only
    // those marked in DisplayChangedRows.
    void Presented(bool only_marked_rows = false) const;
    // Writes a whole-surface colour fill that was put off (pending_fill_), before anything
    // reads or partly overwrites the pixels.
    void WritePendingFill();

    ULONG refs_ = 1;
    DirectDraw* owner_;
    bool holds_owner_;
    DWORD caps_;
    OwnedPixels memory_; // off-screen and back-buffer surfaces
    PixelBuffer pixels_; // the primary: the screen itself
    bool lost_ = false;
    HDC dc_ = nullptr; // the DC handed out by GetDC, until ReleaseDC
    bool locked_ = false;
    bool keyed_ = false;
    DDCOLORKEY key_ = {0, 0};
    Clipper* clipper_ = nullptr;
    Surface* back_buffer_ = nullptr; // the primary's
    Surface* root_ = nullptr;        // the back buffer's primary
    DDPIXELFORMAT fourcc_format_ = {};
    // A colour fill of every pixel, not yet written: a blit that covers the whole surface
    // next makes it moot, and anything else writes it first.
    std::optional<uint32_t> pending_fill_;
};

class Clipper final : public IDirectDrawClipper {
  public:
    Clipper();
    ~Clipper();

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetHWnd(HWND* window) override;
    HRESULT SetHWnd(DWORD flags, HWND window) override;

    HWND Window() const { return window_; }

  private:
    ULONG refs_ = 1;
    HWND window_ = nullptr;
};

class DirectDraw final : public IDirectDraw7 {
  public:
    DirectDraw();
    ~DirectDraw();

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer) override;
    HRESULT CreateSurface(LPDDSURFACEDESC2 desc, LPDIRECTDRAWSURFACE7* surface,
                          IUnknown* outer) override;
    HRESULT GetCaps(LPDDCAPS driverCaps, LPDDCAPS emulationCaps) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                           DWORD flags) override;

    // A primary surface of this object stopped existing.
    void PrimaryGone() { has_primary_ = false; }

  private:
    ULONG refs_ = 1;
    HWND window_ = nullptr;
    bool exclusive_ = false;
    bool level_set_ = false;
    bool has_primary_ = false;
};

// The code a hooked call must return now, or DD_OK to go on (testing.cpp).
HRESULT InjectedFailure(DDrawCall call);
// Whether GetCaps reports that GDI windows show over the full-screen picture.
bool CanRenderWindowed();
// Bookkeeping of live objects and surfaces, for DDrawLive and LoseDisplaySurfaces.
void TrackSurface(Surface* surface, bool alive);
void TrackObject(DDrawLiveObjects delta);
DDrawLiveObjects LiveObjects();
// The DirectDraw object that holds the display exclusively, if any.
DirectDraw*& ExclusiveOwner();
// Every surface in display memory loses its memory, as when another program takes the
// display: blits, GetDC and Lock give DDERR_SURFACELOST until Restore. Surfaces in system
// memory keep their pixels, as on Windows. Each DirectDraw object registers it with the
// display (DisplayOnLost), which user32 tells when the host reports a lost display.
void LoseDisplaySurfaces();
