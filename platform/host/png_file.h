// Zobu 4 platform floor: pictures of the screen as PNG files, for the hosts' snapshots and
// the golden frames.
#pragma once

#include "host.h"
#include "rgb565.h"

#include <stdint.h>

#include <string>
#include <vector>

// Writes width x height 5:6:5 pixels, rows `pitch_bytes` apart, as an 8-bit RGB PNG: each
// channel widened by repeating its top bits (0x1F becomes 0xFF), as GDI reads pixels back.
// False, with the reason, when the file cannot be written.
bool WritePng565(const std::string& path, const uint16_t* pixels, int width, int height,
                 int pitch_bytes, std::string* error);

// Reads an 8-bit RGB or RGBA PNG into 0x00RRGGBB pixels, top row first. False, with the
// reason, when the file is missing or not such a picture.
bool ReadPngRgb(const std::string& path, int* width, int* height, std::vector<uint32_t>* pixels,
                std::string* error);

// A snapshot of the whole screen (kScreenWidth x kScreenHeight, rows back to back) to
// `path`. A file that cannot be written is said in one line on standard error and counted:
// the run goes on, and ends with a status that says so.
void WriteSnapshotPng(const std::string& path, const uint16_t* screen);

// How many snapshots could not be written.
int SnapshotFailures();
