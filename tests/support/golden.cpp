// Golden frames.
#include "support/golden.h"

#include "host/png_file.h"

#include <gtest/gtest.h>

#include <fstream>

GoldenComparison ComparePngs(const std::string& actual_path, const std::string& expected_path) {
    GoldenComparison result;
    int widths[2] = {}, heights[2] = {};
    std::vector<uint32_t> pixels[2];
    if (!ReadPngRgb(actual_path, &widths[0], &heights[0], &pixels[0], &result.error) ||
        !ReadPngRgb(expected_path, &widths[1], &heights[1], &pixels[1], &result.error)) {
        return result;
    }
    if (widths[0] != widths[1] || heights[0] != heights[1]) {
        result.error = "the pictures' sizes differ";
        return result;
    }
    for (size_t i = 0; i < pixels[0].size(); ++i) {
        if (pixels[0][i] != pixels[1][i] && result.differing++ == 0) {
            result.first_x = static_cast<int>(i % static_cast<size_t>(widths[0]));
            result.first_y = static_cast<int>(i / static_cast<size_t>(widths[0]));
        }
    }
    result.matches = result.differing == 0;
    return result;
}

void ExpectPngMatchesGolden(const std::string& name, const std::string& actual_path) {
    const std::string expected = std::string(ZOBU_GOLDEN_DIR) + "/" + name + ".png";
    const GoldenComparison result = ComparePngs(actual_path, expected);
    if (result.matches) {
        return;
    }
    const std::string kept = std::string(ZOBU_GOLDEN_DIR) + "/" + name + ".actual.png";
    std::ofstream(kept, std::ios::binary) << std::ifstream(actual_path, std::ios::binary).rdbuf();
    if (!result.error.empty()) {
        ADD_FAILURE() << "cannot compare with " << expected << " (" << result.error
                      << "); the frame is in " << kept;
        return;
    }
    ADD_FAILURE() << "the frame differs from " << expected << " in " << result.differing
                  << " pixels, the first at (" << result.first_x << ", " << result.first_y
                  << "); the frame is in " << kept;
}
