// Zobu 4 platform floor: the colour-keyed copy behind Blt and BltFast.
//
// Sprites are drawn with a colour key every frame, so this copy is the floor's hottest loop
// after memcpy. It runs on the widest vectors the processor has, chosen once, at the first
// copy. The baseline path is 16 bytes wide: vector code where the build's baseline has a
// vector unit (SSE2 on x86-64, NEON on AArch64, SIMD128 in WebAssembly), scalar code where
// it has none (i686 and 32-bit ARM with Debian's default flags). There, a second 16-byte
// path built for SSE2 or NEON is taken when the processor has it. On x86 a 32-byte path is
// taken on processors with AVX2.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

enum class KeyedCopyPath {
    Lanes16,       // the baseline: every processor the floor builds for
    Lanes16Vector, // SSE2 on i686, NEON on 32-bit ARM: where the baseline has no vectors
    Lanes32,       // AVX2
};

// The widest path this processor runs; CopyKeyed takes it.
KeyedCopyPath KeyedCopyBestPath();

// Every path this processor runs, the baseline first, so that tests can hold them to the
// same result; and a path's name, as the benchmarks print it.
std::vector<KeyedCopyPath> KeyedCopyPaths();
const char* KeyedCopyPathName(KeyedCopyPath path);

// `height` rows of `width` pixels of 2 or 4 bytes. Each row starts `pitch` bytes after the
// one before, or before it when the pitch is negative: a block copied upwards starts at its
// last rows with both pitches negated. A source row must not overlap its destination row.
struct KeyedBlock {
    uint8_t* to = nullptr;
    ptrdiff_t to_pitch = 0;
    const uint8_t* from = nullptr;
    ptrdiff_t from_pitch = 0;
    int32_t width = 0, height = 0;
    int bytes_per_pixel = 0;
    uint32_t key = 0;
};

// Copies the block, leaving the destination's pixel alone wherever the source's equals the
// key. One call a block: the rows are short (a sprite's are 64 to 128 pixels), so a call a
// row would cost as much as the copy.
void CopyKeyed(const KeyedBlock& block);

// The same on a path of the caller's choosing, one of KeyedCopyPaths().
void CopyKeyedOn(KeyedCopyPath path, const KeyedBlock& block);
