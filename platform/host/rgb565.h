// Zobu 4 platform floor: the screen's 5:6:5 pixels as 8-bit channels, for the hosts that show
// or save them.
#pragma once

#include <stdint.h>

// The 0x00RRGGBB colour a 5:6:5 pixel widens to: each channel's top bits repeated (0x1F
// becomes 0xFF), as GDI reads pixels back.
inline uint32_t RgbFrom565(uint16_t p) {
    const uint32_t r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
    return (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) | ((b << 3) | (b >> 2));
}
