// Zobu 4 platform floor: whether two runs of bytes are the same, as fast as memcmp is where
// the C library's is fast.
//
// The screen's rows are compared every frame to find what changed (640 x 480 x 2 bytes when
// nothing did). glibc's memcmp does that on vectors; the C library of emscripten compares a
// byte at a time, five times slower than this in a browser. So in WebAssembly the floor
// compares 64 bytes a step on the 16-byte vectors it is built with (-msimd128).
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string.h>

inline bool SameBytes(const void* a, const void* b, size_t count) {
#if defined(__wasm_simd128__)
    typedef uint64_t Lanes __attribute__((vector_size(16)));
    const auto* x = static_cast<const uint8_t*>(a);
    const auto* y = static_cast<const uint8_t*>(b);
    size_t i = 0;
    for (; i + 64 <= count; i += 64) {
        Lanes p[4], q[4];
        memcpy(p, x + i, sizeof p);
        memcpy(q, y + i, sizeof q);
        const Lanes differ = (p[0] ^ q[0]) | (p[1] ^ q[1]) | (p[2] ^ q[2]) | (p[3] ^ q[3]);
        if (differ[0] | differ[1]) {
            return false;
        }
    }
    return memcmp(x + i, y + i, count - i) == 0;
#else
    return memcmp(a, b, count) == 0;
#endif
}
