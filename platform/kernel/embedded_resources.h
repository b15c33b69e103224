// Zobu 4 platform floor: the compiled res/zobu4.rc, embedded in the program by the build.
// The launcher hands it to KernelSetModuleResources before WinMain.
#pragma once

#include <stddef.h>

extern const unsigned char kEmbeddedModuleResources[];
extern const size_t kEmbeddedModuleResourcesSize;
