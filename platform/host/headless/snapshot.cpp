// Zobu 4 platform floor: the headless host's snapshots, as PNG files.
#include "headless.h"

#include "png_file.h"

#include <stdio.h>

void HeadlessScheduleSnapshot(uint64_t at_ms, const std::string& path) {
    HeadlessScheduleWhenIdle(at_ms, [path] {
        constexpr int kWidth = 640, kHeight = 480;
        const std::vector<uint16_t> frame = HeadlessFrame();
        std::string error;
        if (!WritePng565(path, frame.data(), kWidth, kHeight,
                         kWidth * static_cast<int>(sizeof(uint16_t)), &error)) {
            fprintf(stderr, "zobu4: cannot write the snapshot \"%s\": %s\n", path.c_str(),
                    error.c_str());
        }
    });
}
