// Zobu 4 platform floor: the colour-keyed copy, on the processor's widest vectors.
#include "keyed_copy.h"

#include <string.h>

#if defined(__arm__)
#include <asm/hwcap.h> // HWCAP_NEON
#include <sys/auxv.h>  // getauxval
#endif

namespace {

// Copies whole vectors of `Bytes` bytes from pixel `i` on, as far as they fit in `count`, and
// returns where it stopped. Lanes that hold the key keep the destination, the others take
// the source: no branch per pixel. GCC's and Clang's vector types give the instructions of
// the function they are inlined into, so the 32-byte copy must land in an AVX2 function.
template <int Bytes, typename Pixel>
__attribute__((always_inline)) inline int32_t CopyVectors(Pixel* to, const Pixel* from,
                                                          int32_t count, Pixel key, int32_t i) {
    typedef Pixel Lanes __attribute__((vector_size(Bytes)));
    constexpr int32_t kLanes = Bytes / sizeof(Pixel);
    const Lanes keys = Lanes{} + key;
    for (; i + kLanes <= count; i += kLanes) {
        Lanes source, dest;
        memcpy(&source, from + i, sizeof source);
        memcpy(&dest, to + i, sizeof dest);
        const Lanes keyed = reinterpret_cast<Lanes>(source == keys); // all ones where keyed
        dest = (dest & keyed) | (source & ~keyed);
        memcpy(to + i, &dest, sizeof dest);
    }
    return i;
}

// The pixels past the last whole vector, one by one.
template <typename Pixel>
__attribute__((always_inline)) inline void CopyRest(Pixel* to, const Pixel* from, int32_t count,
                                                    Pixel key, int32_t i) {
    for (; i < count; ++i) {
        const Pixel v = from[i];
        to[i] = v == key ? to[i] : v;
    }
}

// Copies the block's rows on vectors of `Widest` bytes, then one 16-byte step (a sprite's row
// rarely ends on a 32-byte boundary), then pixel by pixel. Inlined into the function of the
// path's target.
template <int Widest, typename Pixel>
__attribute__((always_inline)) inline void CopyBlock(const KeyedBlock& b) {
    uint8_t* row_to = b.to;
    const uint8_t* row_from = b.from;
    const Pixel key = static_cast<Pixel>(b.key);
    for (int32_t y = 0; y < b.height; ++y, row_to += b.to_pitch, row_from += b.from_pitch) {
        Pixel* to = reinterpret_cast<Pixel*>(row_to);
        const Pixel* from = reinterpret_cast<const Pixel*>(row_from);
        int32_t i = 0;
        if constexpr (Widest == 32) {
            i = CopyVectors<32>(to, from, b.width, key, i);
        }
        i = CopyVectors<16>(to, from, b.width, key, i);
        CopyRest(to, from, b.width, key, i);
    }
}

template <typename Pixel> void CopyLanes16(const KeyedBlock& block) {
    CopyBlock<16, Pixel>(block);
}

#if defined(__x86_64__) || defined(__i386__)
#define ZOBU_KEYED_COPY_AVX2 1
template <typename Pixel>
__attribute__((target("avx2"))) void CopyLanes32(const KeyedBlock& block) {
    CopyBlock<32, Pixel>(block);
}
#endif

// Where the baseline has no vector unit, the same 16-byte lanes built for the one the
// processor may have.
#if defined(__i386__) && !defined(__SSE2__)
#define ZOBU_KEYED_COPY_VECTOR16 "sse2"
#elif defined(__arm__) && !defined(__ARM_NEON)
#define ZOBU_KEYED_COPY_VECTOR16 "fpu=neon"
#endif
#ifdef ZOBU_KEYED_COPY_VECTOR16
template <typename Pixel>
__attribute__((target(ZOBU_KEYED_COPY_VECTOR16))) void CopyVectorLanes16(const KeyedBlock& block) {
    CopyBlock<16, Pixel>(block);
}
#endif

using Copier = void (*)(const KeyedBlock&);

Copier CopierFor(KeyedCopyPath path, int bytes_per_pixel) {
    const bool wide = bytes_per_pixel == 4;
#ifdef ZOBU_KEYED_COPY_AVX2
    if (path == KeyedCopyPath::Lanes32) {
        return wide ? CopyLanes32<uint32_t> : CopyLanes32<uint16_t>;
    }
#endif
#ifdef ZOBU_KEYED_COPY_VECTOR16
    if (path == KeyedCopyPath::Lanes16Vector) {
        return wide ? CopyVectorLanes16<uint32_t> : CopyVectorLanes16<uint16_t>;
    }
#endif
    (void)path;
    return wide ? CopyLanes16<uint32_t> : CopyLanes16<uint16_t>;
}

// Every path this processor runs, the baseline first and the widest last.
std::vector<KeyedCopyPath> Detect() {
    std::vector<KeyedCopyPath> paths = {KeyedCopyPath::Lanes16};
#if defined(ZOBU_KEYED_COPY_AVX2)
    __builtin_cpu_init(); // in case the first copy comes from a static constructor
#endif
#if defined(ZOBU_KEYED_COPY_VECTOR16) && defined(__i386__)
    if (__builtin_cpu_supports("sse2")) {
        paths.push_back(KeyedCopyPath::Lanes16Vector);
    }
#elif defined(ZOBU_KEYED_COPY_VECTOR16)
    if (getauxval(AT_HWCAP) & HWCAP_NEON) {
        paths.push_back(KeyedCopyPath::Lanes16Vector);
    }
#endif
#ifdef ZOBU_KEYED_COPY_AVX2
    if (__builtin_cpu_supports("avx2")) {
        paths.push_back(KeyedCopyPath::Lanes32);
    }
#endif
    return paths;
}

} // namespace

std::vector<KeyedCopyPath> KeyedCopyPaths() {
    static const std::vector<KeyedCopyPath> paths = Detect();
    return paths;
}

KeyedCopyPath KeyedCopyBestPath() {
    static const KeyedCopyPath best = KeyedCopyPaths().back();
    return best;
}

const char* KeyedCopyPathName(KeyedCopyPath path) {
    switch (path) {
    case KeyedCopyPath::Lanes32:
        return "32-byte lanes (AVX2)";
    case KeyedCopyPath::Lanes16Vector:
#ifdef __arm__
        return "16-byte lanes (NEON)";
#else
        return "16-byte lanes (SSE2)";
#endif
    case KeyedCopyPath::Lanes16:
        break;
    }
    return "16-byte lanes";
}

void CopyKeyed(const KeyedBlock& block) {
    static const Copier copy16 = CopierFor(KeyedCopyBestPath(), 2);
    static const Copier copy32 = CopierFor(KeyedCopyBestPath(), 4);
    (block.bytes_per_pixel == 4 ? copy32 : copy16)(block);
}

void CopyKeyedOn(KeyedCopyPath path, const KeyedBlock& block) {
    CopierFor(path, block.bytes_per_pixel)(block);
}
