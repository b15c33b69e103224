// Golden frames.
#include "support/golden.h"

#include "host/png_file.h"

#include <gtest/gtest.h>

GoldenComparison CompareWithPng(const std::vector<uint16_t>& frame, int width, int height,
                                const std::string& expected_path) {
    GoldenComparison result;
    int expected_width = 0, expected_height = 0;
    std::vector<uint32_t> expected;
    if (!ReadPngRgb(expected_path, &expected_width, &expected_height, &expected, &result.error)) {
        return result;
    }
    if (expected_width != width || expected_height != height) {
        result.error = "the expected picture is " + std::to_string(expected_width) + " x " +
                       std::to_string(expected_height);
        return result;
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const size_t i = static_cast<size_t>(y) * width + x;
            if (RgbFrom565(frame[i]) != expected[i] && result.differing++ == 0) {
                result.first_x = x;
                result.first_y = y;
            }
        }
    }
    result.matches = result.differing == 0;
    return result;
}

std::string GoldenDirectory() {
    return ZOBU_GOLDEN_DIR;
}

void ExpectFrameMatchesGolden(const std::string& name, const std::vector<uint16_t>& frame) {
    const int width = 640, height = 480;
    const std::string expected = GoldenDirectory() + "/" + name + ".png";
    const GoldenComparison result = CompareWithPng(frame, width, height, expected);
    if (result.matches) {
        return;
    }
    const std::string actual = GoldenDirectory() + "/" + name + ".actual.png";
    std::string error;
    if (!WritePng565(actual, frame.data(), width, height, width * 2, &error)) {
        ADD_FAILURE() << "cannot write " << actual << ": " << error;
    }
    if (!result.error.empty()) {
        ADD_FAILURE() << "no golden frame " << expected << " (" << result.error
                      << "); the frame is in " << actual;
        return;
    }
    ADD_FAILURE() << "the frame differs from " << expected << " in " << result.differing
                  << " pixels, the first at (" << result.first_x << ", " << result.first_y
                  << "); the frame is in " << actual;
}
