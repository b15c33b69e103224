// Zobu 4 platform floor: Windows paths on a Linux file system.
#pragma once

#include <string>

// Turns a Windows path into the Linux path of an existing file: backslashes separate
// components, and each component matches a directory entry without regard to ASCII case,
// as on Windows ("Bitmaps\ZOBU1.bmp" finds bitmaps/zobu1.BMP). A relative path starts at
// the current directory. An exact match wins over one that differs in case. Returns false,
// with *native the path as given with slashes, when no file matches.
bool ResolveWindowsPath(const char* windows_path, std::string* native);
