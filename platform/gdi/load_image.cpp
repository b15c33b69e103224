// Zobu 4 platform floor: LoadImageA and LoadBitmapA.
//
// A bitmap comes from the module's RT_BITMAP resources or, with LR_LOADFROMFILE, from a
// file. It is scaled to the size asked for (0 keeps the bitmap's own) as StretchBlt scales
// in its default mode. With LR_CREATEDIBSECTION the result is a DIB section that reports the
// file's own depth, as on Windows; inside, ours holds 32 bits per pixel whatever that depth
// (only the pixels, the size and what GetObjectA says are relied on). Without it, a bitmap
// in the display's format.
//
// Every load that fails says why on standard error, one line naming the bitmap; the caller
// sees only the null handle, as on Windows. The one silent failure is a name that is not a
// resource of the module, which is no failure: the caller goes on to try it as a file.
#include "bmp.h"
#include "objects.h"
#include "stretch.h"

#include "../kernel/path.h"
#include "../kernel/resources.h"

#include <stdio.h>
#include <sys/stat.h>

#include <fstream>

namespace {

bool ReadFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error) {
    struct stat info = {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        *error = "not a file";
        return false;
    }
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        *error = "cannot open the file";
        return false;
    }
    const std::streamoff size = file.tellg();
    // No picture we accept needs a file larger than its 256 MiB of pixels and headers.
    if (size < 0 || static_cast<uint64_t>(size) > kMaxBitmapBytes + (1u << 20)) {
        *error = "the file is too large to be a picture we accept";
        return false;
    }
    bytes->resize(static_cast<size_t>(size));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(bytes->data()), static_cast<std::streamsize>(size))) {
        *error = "cannot read the file";
        return false;
    }
    return true;
}

// The bitmap of the size asked for, or null with the reason when it cannot be made.
HBITMAP MakeBitmap(const DecodedBitmap& decoded, int width, int height, bool dib_section,
                   std::string* error) {
    if (width < 0 || height < 0) {
        *error = "a size of " + std::to_string(width) + " x " + std::to_string(height);
        return nullptr;
    }
    const int32_t w = width > 0 ? width : decoded.width;
    const int32_t h = height > 0 ? height : decoded.height;
    if (static_cast<uint64_t>(w) * static_cast<uint64_t>(h) * 4 > kMaxBitmapBytes) {
        *error =
            "a " + std::to_string(w) + " x " + std::to_string(h) + " bitmap is too large to make";
        return nullptr;
    }
    const PixelFormat format = dib_section ? PixelFormat::Xrgb8888 : DisplayPixels().format;
    HBITMAP handle = CreateBitmapFromColors(w, h, format, dib_section);
    GdiBitmap* bitmap = BitmapFromHandle(handle);
    if (dib_section) {
        bitmap->bits_per_pixel = decoded.bit_count;
    }
    const PixelBuffer& to = bitmap->pixels.view;
    if (w == decoded.width && h == decoded.height) {
        // The file's own size, as every bitmap of the game: the colours go straight in, row
        // by row, from the decoded 0x00RRGGBB pixels.
        PixelBuffer file;
        file.width = w;
        file.height = h;
        file.pitch = w * 4;
        file.format = PixelFormat::Xrgb8888;
        // Only read: a PixelBuffer has no read-only kind.
        file.bits = reinterpret_cast<uint8_t*>(const_cast<uint32_t*>(decoded.pixels.data()));
        for (int32_t y = 0; y < h; ++y) {
            CopyPixelRow(to, 0, y, file, 0, y, w);
        }
        return handle;
    }
    StretchColors(
        decoded.width, decoded.height, w, h, BLACKONWHITE,
        [&](int32_t x, int32_t y) -> COLORREF {
            const uint32_t rgb = decoded.pixels[static_cast<size_t>(y) * decoded.width + x];
            return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
        },
        [&](int32_t x, int32_t y, COLORREF color) { to.Write(x, y, RawFromColor(format, color)); });
    return handle;
}

// Decodes the bitmap `name` names, from a file or from the module's resources. False with
// the reason in *error when it cannot; false with an empty reason when the name is no
// resource of the module, which is for the caller to try as a file, not a failure.
bool Decode(HINSTANCE instance, LPCSTR name, UINT flags, DecodedBitmap* decoded,
            std::string* error) {
    if (flags & LR_LOADFROMFILE) {
        if (IS_INTRESOURCE(name)) {
            *error = "a resource number is not a file name";
            return false;
        }
        std::string path;
        std::vector<uint8_t> bytes;
        if (!ResolveWindowsPath(name, &path)) {
            *error = "no such file";
            return false;
        }
        return ReadFile(path, &bytes, error) &&
               DecodeBmp(bytes.data(), bytes.size(), BmpSource::File, decoded, error);
    }
    if (instance != ModuleHandle()) {
        return false;
    }
    const Resource* resource = ModuleResources().Find(RT_BITMAP, name);
    return resource && DecodeBmp(ModuleResources().Data(*resource), resource->size,
                                 BmpSource::Resource, decoded, error);
}

} // namespace

HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height,
                         UINT flags) {
    if (type != IMAGE_BITMAP || !name) {
        return nullptr;
    }
    DecodedBitmap decoded;
    std::string error;
    HBITMAP bitmap = nullptr;
    if (Decode(instance, name, flags, &decoded, &error)) {
        bitmap = MakeBitmap(decoded, width, height, (flags & LR_CREATEDIBSECTION) != 0, &error);
    }
    if (!bitmap && !error.empty()) {
        fprintf(stderr, "zobu4: cannot load bitmap \"%s\": %s\n",
                IS_INTRESOURCE(name) ? "(bitmap resource)" : name, error.c_str());
    }
    return bitmap;
}

HBITMAP WINAPI LoadBitmapA(HINSTANCE instance, LPCSTR name) {
    return static_cast<HBITMAP>(LoadImageA(instance, name, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}
