// Zobu 4 platform floor: DirectDraw surfaces: references, description, device contexts,
// locks, colour keys, clippers and loss.
//
// A surface whose device context is out is held by GDI: it cannot be locked or blitted
// onto (DDERR_SURFACEBUSY), and a second GetDC fails (DDERR_DCALREADYCREATED), as on
// Windows. A lost surface refuses everything but Restore with DDERR_SURFACELOST.
#include "ddraw_private.h"

#include "../user/window_geometry.h"

#include <string.h>

Surface::Surface(DirectDraw* owner, DWORD caps, PixelFormat format, int32_t width, int32_t height,
                 bool holds_owner)
    : owner_(owner), holds_owner_(holds_owner), caps_(caps) {
    if (holds_owner_) {
        owner_->AddRef();
    }
    if (caps & DDSCAPS_PRIMARYSURFACE) {
        pixels_ = DisplayPixels();
    } else {
        memory_.Allocate(width, height, format);
        pixels_ = memory_.view;
    }
    TrackSurface(this, true);
}

Surface::~Surface() {
    TrackSurface(this, false);
    if (dc_) {
        GdiDeleteSurfaceDC(dc_);
    }
    if (clipper_) {
        clipper_->Release();
    }
    delete back_buffer_; // the primary's back buffer ends with it, whatever its count
    if (IsPrimary()) {
        owner_->PrimaryGone();
    }
    if (holds_owner_) {
        owner_->Release();
    }
}

void Surface::AttachBackBuffer(Surface* back) {
    back_buffer_ = back;
    back->root_ = this;
}

HRESULT Surface::QueryInterface(REFIID, void** object) {
    if (object) {
        *object = nullptr;
    }
    return E_NOINTERFACE;
}

ULONG Surface::AddRef() {
    return ++refs_;
}

ULONG Surface::Release() {
    if (refs_ == 0) {
        return 0; // an attached back buffer nobody holds any more, still owned by its primary
    }
    const ULONG refs = --refs_;
    if (refs == 0 && !root_) {
        delete this;
    }
    return refs;
}

HRESULT Surface::Busy() const {
    if (lost_) {
        return DDERR_SURFACELOST;
    }
    if (dc_ || locked_) {
        return DDERR_SURFACEBUSY;
    }
    return DD_OK;
}

void Surface::FillDesc(DDSURFACEDESC2* desc) const {
    const DWORD size = desc->dwSize;
    memset(desc, 0, sizeof(DDSURFACEDESC2));
    desc->dwSize = size;
    desc->dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc->dwWidth = static_cast<DWORD>(pixels_.width);
    desc->dwHeight = static_cast<DWORD>(pixels_.height);
    desc->lPitch = pixels_.pitch;
    desc->ddsCaps.dwCaps = caps_;
    if (back_buffer_) {
        desc->dwFlags |= DDSD_BACKBUFFERCOUNT;
        desc->dwBackBufferCount = 1;
    }
    if (keyed_) {
        desc->dwFlags |= DDSD_CKSRCBLT;
        desc->ddckCKSrcBlt = key_;
    }
    DDPIXELFORMAT& pf = desc->ddpfPixelFormat;
    pf.dwSize = sizeof(DDPIXELFORMAT);
    switch (pixels_.format) {
    case PixelFormat::Rgb565:
        pf = {sizeof(DDPIXELFORMAT), DDPF_RGB, 0, {16}, {0xF800}, {0x07E0}, {0x001F}, {0}};
        break;
    case PixelFormat::Rgb555:
        pf = {sizeof(DDPIXELFORMAT), DDPF_RGB, 0, {16}, {0x7C00}, {0x03E0}, {0x001F}, {0}};
        break;
    case PixelFormat::Xrgb8888:
        pf = {sizeof(DDPIXELFORMAT), DDPF_RGB, 0, {32}, {0xFF0000}, {0x00FF00}, {0x0000FF}, {0}};
        break;
    case PixelFormat::FourCC16:
        pf = fourcc_format_;
        break;
    }
}

HRESULT Surface::GetSurfaceDesc(LPDDSURFACEDESC2 desc) {
    if (!desc || desc->dwSize != sizeof(DDSURFACEDESC2)) {
        return DDERR_INVALIDPARAMS;
    }
    if (HRESULT failure = InjectedFailure(DDrawCall::GetSurfaceDesc)) {
        return failure;
    }
    FillDesc(desc);
    return DD_OK;
}

HRESULT Surface::GetAttachedSurface(LPDDSCAPS2 caps, LPDIRECTDRAWSURFACE7* attached) {
    if (!caps || !attached) {
        return DDERR_INVALIDPARAMS;
    }
    *attached = nullptr;
    if (HRESULT failure = InjectedFailure(DDrawCall::GetAttachedSurface)) {
        return failure;
    }
    if (!back_buffer_ || (caps->dwCaps & ~back_buffer_->caps_) != 0 || caps->dwCaps == 0) {
        return DDERR_NOTFOUND;
    }
    back_buffer_->AddRef();
    *attached = back_buffer_;
    return DD_OK;
}

HRESULT Surface::GetClipper(LPDIRECTDRAWCLIPPER* clipper) {
    if (!clipper) {
        return DDERR_INVALIDPARAMS;
    }
    *clipper = clipper_;
    if (!clipper_) {
        return DDERR_NOCLIPPERATTACHED;
    }
    clipper_->AddRef();
    return DD_OK;
}

HRESULT Surface::SetClipper(LPDIRECTDRAWCLIPPER clipper) {
    if (HRESULT failure = InjectedFailure(DDrawCall::SetClipper)) {
        return failure;
    }
    Clipper* next = static_cast<Clipper*>(clipper);
    if (next) {
        next->AddRef();
    }
    if (clipper_) {
        clipper_->Release();
    }
    clipper_ = next;
    return DD_OK;
}

HRESULT Surface::SetColorKey(DWORD flags, LPDDCOLORKEY key) {
    if (flags != DDCKEY_SRCBLT) {
        return DDERR_INVALIDPARAMS; // only source keys for blits are implemented
    }
    if (HRESULT failure = InjectedFailure(DDrawCall::SetColorKey)) {
        return failure;
    }
    keyed_ = key != nullptr;
    key_ = key ? *key : DDCOLORKEY{0, 0};
    return DD_OK;
}

HRESULT Surface::GetColorKey(DWORD flags, LPDDCOLORKEY key) {
    if (flags != DDCKEY_SRCBLT || !key) {
        return DDERR_INVALIDPARAMS;
    }
    if (!keyed_) {
        return DDERR_NOCOLORKEY;
    }
    *key = key_;
    return DD_OK;
}

HRESULT Surface::GetDC(HDC* dc) {
    if (!dc) {
        return DDERR_INVALIDPARAMS;
    }
    if (HRESULT failure = InjectedFailure(DDrawCall::GetDC)) {
        return failure;
    }
    if (lost_) {
        return DDERR_SURFACELOST;
    }
    if (dc_) {
        return DDERR_DCALREADYCREATED; // *dc is left as it was
    }
    if (locked_) {
        return DDERR_SURFACEBUSY;
    }
    if (pixels_.format == PixelFormat::FourCC16) {
        return DDERR_CANTCREATEDC;
    }
    WritePendingFill();
    dc_ = GdiCreateSurfaceDC(pixels_);
    *dc = dc_;
    return DD_OK;
}

HRESULT Surface::ReleaseDC(HDC dc) {
    if (HRESULT failure = InjectedFailure(DDrawCall::ReleaseDC)) {
        return failure;
    }
    if (!dc_ || dc != dc_) {
        return DDERR_NODC;
    }
    GdiDeleteSurfaceDC(dc_);
    dc_ = nullptr;
    Presented();
    return DD_OK;
}

HRESULT Surface::Lock(LPRECT rect, LPDDSURFACEDESC2 desc, DWORD, HANDLE) {
    if (!desc || desc->dwSize != sizeof(DDSURFACEDESC2)) {
        return DDERR_INVALIDPARAMS;
    }
    if (HRESULT failure = InjectedFailure(DDrawCall::Lock)) {
        return failure;
    }
    if (HRESULT busy = Busy()) {
        return busy;
    }
    RECT area = {0, 0, pixels_.width, pixels_.height};
    if (rect) {
        if (RectEmpty(*rect) || rect->left < 0 || rect->top < 0 || rect->right > pixels_.width ||
            rect->bottom > pixels_.height) {
            return DDERR_INVALIDPARAMS;
        }
        area = *rect;
    }
    WritePendingFill();
    FillDesc(desc);
    desc->dwFlags |= DDSD_LPSURFACE;
    desc->lpSurface =
        pixels_.Row(area.top) + static_cast<ptrdiff_t>(area.left) * BytesPerPixel(pixels_.format);
    locked_ = true;
    return DD_OK;
}

HRESULT Surface::Unlock(LPRECT) {
    if (HRESULT failure = InjectedFailure(DDrawCall::Unlock)) {
        return failure;
    }
    if (!locked_) {
        return DDERR_NOTLOCKED;
    }
    locked_ = false;
    Presented();
    return DD_OK;
}

HRESULT Surface::IsLost() {
    return lost_ ? DDERR_SURFACELOST : DD_OK;
}

HRESULT Surface::Restore() {
    if (HRESULT failure = InjectedFailure(DDrawCall::Restore)) {
        return failure;
    }
    // Restoring a complex surface restores the surfaces attached to it.
    if (back_buffer_) {
        back_buffer_->Restore();
    }
    if (lost_) {
        // The memory comes back; what it held is gone, a fill not yet written too. The
        // screen still shows the old picture: all of it is to be shown again.
        pending_fill_.reset();
        if (IsPrimary()) {
            DisplayChanged();
        }
        for (int32_t y = 0; y < pixels_.height; ++y) {
            memset(pixels_.Row(y), 0,
                   static_cast<size_t>(pixels_.width) * BytesPerPixel(pixels_.format));
        }
        lost_ = false;
    }
    return DD_OK;
}

HRESULT Surface::ClipArea(Region* area) const {
    *area = Region({0, 0, pixels_.width, pixels_.height});
    if (clipper_) {
        if (!clipper_->Window()) {
            return DDERR_NOCLIPLIST;
        }
        area->Intersect(UserVisibleRegion(clipper_->Window()));
    }
    return DD_OK;
}

void Surface::Presented(bool only_marked_rows) const {
    if (IsPrimary()) {
        DisplayPresent(only_marked_rows);
    }
}
