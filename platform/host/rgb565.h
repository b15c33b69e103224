// Zobu 4 platform floor: the screen's 5:6:5 pixels as 8-bit channels, for the hosts that show
// or save them, and for GDI, which reads pixels back the same way.
#pragma once

#include <stdint.h>

// Widens a `bits`-wide channel (5 or 6) to 8 bits by repeating its top bits: 0x1F gives 0xFF.
inline uint32_t WidenChannel(uint32_t field, int bits) {
    return (field << (8 - bits)) | (field >> (2 * bits - 8));
}

// The 0x00RRGGBB colour a 5:6:5 pixel widens to, as GDI reads pixels back.
inline uint32_t RgbFrom565(uint16_t p) {
    return (WidenChannel((p >> 11) & 0x1F, 5) << 16) | (WidenChannel((p >> 5) & 0x3F, 6) << 8) |
           WidenChannel(p & 0x1F, 5);
}
