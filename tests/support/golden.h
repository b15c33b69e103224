// Golden frames: whole 640 x 480 frames of the headless host, compared with PNG files
// committed under tests/golden. The tolerance is zero: a file holds each 5:6:5 pixel widened
// as GDI widens it, so an exact frame reads back exactly.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

struct GoldenComparison {
    bool matches = false;
    std::string error; // why the expected file could not be read, if it could not
    int differing = 0; // pixels that differ
    int first_x = -1;  // the first of them, row by row
    int first_y = -1;
};

// Compares a frame of `width` x `height` 5:6:5 pixels with the PNG at `expected_path`.
GoldenComparison CompareWithPng(const std::vector<uint16_t>& frame, int width, int height,
                                const std::string& expected_path);

// The directory of the committed golden files.
std::string GoldenDirectory();

// Expects the 640 x 480 frame to match tests/golden/<name>.png. Otherwise, or when that file
// is missing, writes the frame as <name>.actual.png beside it and fails naming both, with
// the count and position of the first differing pixel: review the picture, and copy it over
// the expected one to accept it.
void ExpectFrameMatchesGolden(const std::string& name, const std::vector<uint16_t>& frame);
