// Zobu 4 platform floor: LoadImageA and LoadBitmapA.
//
// A bitmap comes from the module's RT_BITMAP resources or, with LR_LOADFROMFILE, from a
// file. It is scaled to the size asked for (0 keeps the bitmap's own) as StretchBlt scales
// in its default mode. With LR_CREATEDIBSECTION the result is a DIB section; ours always
// holds 32 bits per pixel, whatever the file's depth (Windows keeps the file's depth; only
// the pixels and the size are relied on). Without it, a bitmap in the display's format.
// A file that cannot be loaded is reported on standard error, one line naming the file and
// the reason; the caller sees only the null handle, as on Windows.
#include "bmp.h"
#include "objects.h"
#include "stretch.h"

#include "../kernel/path.h"
#include "../kernel/resources.h"

#include <stdio.h>
#include <sys/stat.h>

#include <fstream>

namespace {

void Report(const char* name, const std::string& reason) {
    fprintf(stderr, "zobu4: cannot load bitmap \"%s\": %s\n", name, reason.c_str());
}

bool ReadFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error) {
    struct stat info;
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
    if (!file.read(reinterpret_cast<char*>(bytes->data()), size)) {
        *error = "cannot read the file";
        return false;
    }
    return true;
}

HBITMAP MakeBitmap(const DecodedBitmap& decoded, int width, int height, bool dib_section) {
    const int32_t w = width > 0 ? width : decoded.width;
    const int32_t h = height > 0 ? height : decoded.height;
    if (static_cast<uint64_t>(w) * static_cast<uint64_t>(h) * 4 > kMaxBitmapBytes) {
        return nullptr;
    }
    const PixelFormat format = dib_section ? PixelFormat::Xrgb8888 : DisplayPixels().format;
    HBITMAP handle = CreateBitmapFromColors(w, h, format, dib_section);
    const PixelBuffer& to = BitmapFromHandle(handle)->pixels.view;
    StretchColors(
        decoded.width, decoded.height, w, h, BLACKONWHITE,
        [&](int32_t x, int32_t y) -> COLORREF {
            const uint32_t rgb = decoded.pixels[static_cast<size_t>(y) * decoded.width + x];
            return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
        },
        [&](int32_t x, int32_t y, COLORREF color) { to.Write(x, y, RawFromColor(format, color)); });
    return handle;
}

} // namespace

HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height,
                         UINT flags) {
    if (type != IMAGE_BITMAP || !name || width < 0 || height < 0) {
        return nullptr;
    }
    DecodedBitmap decoded;
    std::string error;
    if (flags & LR_LOADFROMFILE) {
        if (IS_INTRESOURCE(name)) {
            return nullptr;
        }
        std::string path;
        std::vector<uint8_t> bytes;
        if (!ResolveWindowsPath(name, &path)) {
            Report(name, "no such file");
            return nullptr;
        }
        if (!ReadFile(path, &bytes, &error) ||
            !DecodeBmp(bytes.data(), bytes.size(), BmpSource::File, &decoded, &error)) {
            Report(name, error);
            return nullptr;
        }
    } else {
        if (instance != ModuleHandle()) {
            return nullptr;
        }
        const Resource* resource = ModuleResources().Find(RT_BITMAP, name);
        if (!resource) {
            return nullptr; // not a resource: the caller may try a file next
        }
        if (!DecodeBmp(ModuleResources().Data(*resource), resource->size, BmpSource::Resource,
                       &decoded, &error)) {
            Report(IS_INTRESOURCE(name) ? "(bitmap resource)" : name, error);
            return nullptr;
        }
    }
    return MakeBitmap(decoded, width, height, (flags & LR_CREATEDIBSECTION) != 0);
}

HBITMAP WINAPI LoadBitmapA(HINSTANCE instance, LPCSTR name) {
    return static_cast<HBITMAP>(LoadImageA(instance, name, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}
