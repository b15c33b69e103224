// Zobu 4 platform floor: PNG files of the screen, through libpng's simplified API.
#include "png_file.h"

#include <png.h>

#include <stdio.h>
#include <string.h>

bool WritePng565(const std::string& path, const uint16_t* pixels, int width, int height,
                 int pitch_bytes, std::string* error) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint16_t*>(
            reinterpret_cast<const uint8_t*>(pixels) + static_cast<ptrdiff_t>(y) * pitch_bytes);
        for (int x = 0; x < width; ++x) {
            const uint32_t c = RgbFrom565(row[x]);
            uint8_t* out = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            out[0] = static_cast<uint8_t>(c >> 16);
            out[1] = static_cast<uint8_t>(c >> 8);
            out[2] = static_cast<uint8_t>(c);
        }
    }
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) {
        *error = image.message[0] ? image.message : "cannot write the file";
        return false;
    }
    return true;
}

bool ReadPngRgb(const std::string& path, int* width, int* height, std::vector<uint32_t>* pixels,
                std::string* error) {
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        *error = image.message[0] ? image.message : "cannot read the file";
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        *error = image.message[0] ? image.message : "cannot decode the file";
        png_image_free(&image);
        return false;
    }
    *width = static_cast<int>(image.width);
    *height = static_cast<int>(image.height);
    pixels->resize(static_cast<size_t>(*width) * *height);
    for (size_t i = 0; i < pixels->size(); ++i) {
        (*pixels)[i] =
            (uint32_t{rgb[3 * i]} << 16) | (uint32_t{rgb[3 * i + 1]} << 8) | rgb[3 * i + 2];
    }
    return true;
}

namespace {
int snapshot_failures = 0;
} // namespace

void WriteSnapshotPng(const std::string& path, const uint16_t* screen) {
    std::string error;
    if (!WritePng565(path, screen, kScreenWidth, kScreenHeight,
                     kScreenWidth * static_cast<int>(sizeof(uint16_t)), &error)) {
        fprintf(stderr, "zobu4: cannot write the snapshot \"%s\": %s\n", path.c_str(),
                error.c_str());
        ++snapshot_failures;
    }
}

int SnapshotFailures() {
    return snapshot_failures;
}
