// Zobu 4 platform floor: Windows paths on a Linux file system.
#pragma once

#include <string>

// Turns a Windows path into the Linux path of an existing file or directory: backslashes
// separate components, "." and ".." are taken out by the text as Windows does, and each
// other component matches a directory entry without regard to ASCII case ("Bitmaps\ZOBU1.bmp"
// finds bitmaps/zobu1.BMP). A relative path starts at the current directory. An exact match
// wins over one that differs in case; a trailing separator matches only a directory. Total:
// any string gives the path of something that exists, or false, leaving *native the path as
// given with slashes.
bool ResolveWindowsPath(const char* windows_path, std::string* native);
