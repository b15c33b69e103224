// libFuzzer target: the BMP reader, as a file and as a resource.
#include "gdi/bmp.h"

#include <stddef.h>
#include <stdint.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodedBitmap bitmap;
    std::string error;
    for (BmpSource source : {BmpSource::File, BmpSource::Resource}) {
        if (DecodeBmp(data, size, source, &bitmap, &error)) {
            // A decoded picture is exactly as large as it says.
            if (bitmap.pixels.size() !=
                static_cast<size_t>(bitmap.width) * static_cast<size_t>(bitmap.height)) {
                __builtin_trap();
            }
        } else if (error.empty() || !bitmap.pixels.empty()) {
            __builtin_trap();
        }
    }
    return 0;
}
