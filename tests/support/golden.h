// Golden frames: whole 640 x 480 snapshots of the headless host, compared with PNG files
// committed under tests/golden. The tolerance is zero: a snapshot holds each 5:6:5 pixel
// widened as GDI widens it, so the same frame reads back the same.
#pragma once

#include <string>

struct GoldenComparison {
    bool matches = false;
    std::string error; // why a picture could not be read, or the sizes differ
    int differing = 0; // pixels that differ
    int first_x = -1;  // the first of them, row by row
    int first_y = -1;
};

// Compares two pictures pixel by pixel.
GoldenComparison ComparePngs(const std::string& actual_path, const std::string& expected_path);

// Expects the PNG at `actual_path` to match tests/golden/<name>.png. Otherwise, or when that
// file is missing, copies it as <name>.actual.png beside it and fails naming both, with the
// count and position of the first differing pixel: review the picture, and copy it over the
// expected one to accept it.
void ExpectPngMatchesGolden(const std::string& name, const std::string& actual_path);
